// SPDX-License-Identifier: MIT
// Deleting the game's files directly, without any command interpreter reading the paths.
#pragma once

#include <QString>

namespace tarnwell {

struct DeleteResult {
    int deleted = 0; // files removed
    int failed = 0;  // files (or the operand itself) that could not be removed or were not there
    bool ok() const { return failed == 0; }
};

// Removes the file at `path`, never a folder. A link is removed itself, not what it points at.
[[nodiscard]] DeleteResult deleteFile(const QString &path);
// Removes every file directly in `folder`; subfolders, links to folders and their contents stay.
[[nodiscard]] DeleteResult deleteAllFilesIn(const QString &folder);

} // namespace tarnwell
