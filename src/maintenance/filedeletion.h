// SPDX-License-Identifier: MIT
// Deleting the game's files directly, without any command interpreter reading the paths.
#pragma once

#include <QList>
#include <QString>

namespace tarnwell {

struct DeleteFailure {
    QString name;   // the file's name (or the operand's path when it is not there at all)
    QString reason; // the system's reason
};

// A subfolder that a delete of every file in its folder leaves, with what it holds.
struct KeptFolder {
    QString name;
    int files = 0;     // below it, at any depth (a link to a folder: none counted)
    bool link = false; // a link to a folder, never followed
};

struct DeleteResult {
    int deleted = 0;    // files removed
    int hiddenKept = 0; // hidden and system files, which a plain delete of "*.*" leaves alone
    QList<DeleteFailure> failures;
    QList<KeptFolder> foldersKept;
    bool ok() const { return failures.isEmpty(); }
};

// Removes the file at `path`, never a folder. A link is removed itself, not what it points at.
[[nodiscard]] DeleteResult deleteFile(const QString &path);
// Removes every file directly in `folder` but the hidden and system ones; subfolders, links to
// folders and their contents stay, and are listed.
[[nodiscard]] DeleteResult deleteAllFilesIn(const QString &folder);

// What the deletion of every file in `folder` did, for the user.
[[nodiscard]] QString folderDeletionReport(const QString &folder, const DeleteResult &result);

} // namespace tarnwell
