// SPDX-License-Identifier: MIT
// Copies of the settings files, kept before the tool replaces or deletes them, so that any write
// or delete can be undone.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace tarnwell {

constexpr int kBackupsKept = 20; // per settings file; older ones go

struct Backup {
    QString file;     // the copy
    QString original; // the settings file it was taken from
    QDateTime time;   // when, in UTC
    QString game;     // the name of the game folder
};

struct BackupResult {
    QString file;    // where the copy is kept
    QString problem; // why none could be kept: a sentence for the user
    bool ok() const { return problem.isEmpty(); }
};

// Keeps `bytes`, what `original` holds, in `folder`, written whole or not at all, under a short name
// that tells the game, the time and the file. Only the newest copies of each file are kept. Nothing
// is kept in a folder that anybody but the running user can write (see backupFolderProblem()).
[[nodiscard]] BackupResult backUpBytes(const QString &folder, const QString &original, QByteArrayView bytes);
// The same with the bytes `original` holds now.
[[nodiscard]] BackupResult backUpFile(const QString &folder, const QString &original);

struct BackupList {
    QList<Backup> backups; // newest first
    QString problem;       // why the folder's copies cannot be offered
};

// Every backup kept in `folder`: regular files of the running user only, never read through a link.
[[nodiscard]] BackupList listBackups(const QString &folder);

struct RestoreResult {
    BackupResult replaced; // the copy of what the file held before (no file when it held nothing)
    QString problem;
    bool ok() const { return problem.isEmpty(); }
};

// Puts the backup's bytes back into its original file in one atomic write, after keeping a copy
// of what the file holds now.
[[nodiscard]] RestoreResult restoreBackup(const QString &folder, const Backup &backup);

} // namespace tarnwell
