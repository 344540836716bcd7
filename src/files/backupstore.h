// SPDX-License-Identifier: MIT
// The folder where copies of the settings files are kept, guarded so that nobody else can steer
// what is written there or what is read back from it: a user's copy may hold what only the user
// may read, and the tool may run as the superuser.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace tarnwell {

// Why the folder (and the tool's folder above it) cannot be trusted with copies, as "<folder>: <why>";
// empty when it can. With `create`, missing folders are made, open to the running user alone.
[[nodiscard]] QString backupFolderProblem(const QString &folder, bool create);

struct StoredFile {
    bool taken = false; // something already has that name: another name is to be tried
    QString error;      // the system's reason when it could not be written
    bool ok() const { return !taken && error.isEmpty(); }
};

// Writes `bytes` as the new file `name` in `folder`, whole or not at all: under a temporary name
// first, then given its name without replacing anything. Neither name is ever followed as a link.
[[nodiscard]] StoredFile storeNewFile(const QString &folder, const QString &name, QByteArrayView bytes);

} // namespace tarnwell
