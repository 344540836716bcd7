// SPDX-License-Identifier: MIT
// The folder where copies of the settings files are kept, guarded so that nobody else can steer
// what is written there or what is read back from it: a user's copy may hold what only the user
// may read, and the tool may run as the superuser. It is reached from the root as every written
// file is (see safepath.h), and used through what was opened.
#pragma once

#include "files/filecontent.h"
#include "files/safepath.h"

#include <QByteArrayView>
#include <QFile>
#include <QString>

namespace tarnwell {

// The store: the data home on the way (nothing of another user's on it, a link included), then the
// tool's folder and the backups folder, each a real folder of the running user's that nobody else
// can write. With `create`, missing folders are made, open to the running user alone. On failure,
// `problem` says "<folder>: <why>".
[[nodiscard]] WalkedFolder openStore(const QString &folder, bool create, QString &problem);

struct StoredFile {
    bool taken = false; // something already has that name: another name is to be tried
    QString error;      // the system's reason when it could not be written
    bool ok() const { return !taken && error.isEmpty(); }
};

// Writes `bytes` as the new file `name` in the store, whole or not at all: under a temporary name
// first, then given its name without replacing anything. Neither name is ever followed as a link.
[[nodiscard]] StoredFile storeNewFile(const WalkedFolder &store, const QString &name, QByteArrayView bytes);

// Opens the store's file `name` for reading: a regular file of the running user's with one name
// only, never through a link. Why not, or empty text when `file` is open.
[[nodiscard]] QString openStored(const WalkedFolder &store, const QString &name, QFile &file);
// Reads it whole, as openStored() opens it.
[[nodiscard]] FileBytes readStored(const WalkedFolder &store, const QString &name, qint64 limit);

} // namespace tarnwell
