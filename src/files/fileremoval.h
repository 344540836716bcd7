// SPDX-License-Identifier: MIT
// Removing and renaming files, through checked folders only (see safepath.h).
#pragma once

#include "files/safepath.h"

namespace tarnwell {

// Removes the file at `path`: a link as a link, never a folder. Why it could not, or empty text.
[[nodiscard]] QString removeFile(const QString &path);

// Removes the entry `name` of a folder reached before; never a folder. Why it could not, or empty.
[[nodiscard]] QString removeIn(const WalkedFolder &folder, const QString &name);

// Gives the file at `path` the name `newName` in the same folder, never over anything there. Why it
// could not, or empty text.
[[nodiscard]] QString renameAside(const QString &path, const QString &newName);

} // namespace tarnwell
