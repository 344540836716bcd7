// SPDX-License-Identifier: MIT
// The short (8.3) form of a path, for command lines that cannot take blanks.
#pragma once

#include <QString>

namespace tarnwell {

// For an existing file or folder: on Windows its short form, or the long path where the volume keeps
// no short names; elsewhere the path itself, letter case resolved. Empty text when nothing exists at
// the path. Never creates anything.
QString shortPath(const QString &path);

} // namespace tarnwell
