// SPDX-License-Identifier: MIT
// Windows: the folder lies in the user's own local application data, which other users cannot
// write; files are still made new only (CREATE_NEW) and named without replacing anything.
#include "files/backupstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace tarnwell {

WalkedFolder openStore(const QString &folder, bool create, QString &problem)
{
    for (const QString &path : {QFileInfo(folder).absolutePath(), folder}) {
        const QFileInfo info(path);
        if (info.isSymLink() || info.isJunction()) {
            problem = QStringLiteral("%1: it is a link, not a folder").arg(QDir::toNativeSeparators(path));
            return {};
        }
        if (info.exists() && !info.isDir()) {
            problem = QStringLiteral("%1: it is a file, not a folder").arg(QDir::toNativeSeparators(path));
            return {};
        }
        if (!info.exists() && (!create || !QDir().mkpath(path))) {
            problem = create ? QStringLiteral("%1: it could not be made").arg(QDir::toNativeSeparators(path))
                             : QStringLiteral("%1: it is not there").arg(QDir::toNativeSeparators(path));
            return {};
        }
    }
    return WalkedFolder(WalkedFolder::kPathOnly, QDir::toNativeSeparators(folder));
}

StoredFile storeNewFile(const WalkedFolder &store, const QString &name, QByteArrayView bytes)
{
    removeStaleTemporaries(store);
    const QDir dir(store.path());
    const QString temporary = dir.filePath(QLatin1String(kTemporaryPrefix)
                                           + QString::number(QRandomGenerator::global()->generate64(), 36));
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return {false, file.errorString()};
    const bool written = file.write(bytes.data(), bytes.size()) == bytes.size() && file.flush();
    const QString error = file.errorString();
    file.close();
    if (!written) {
        QFile::remove(temporary);
        return {false, error};
    }
    const QString target = dir.filePath(name);
    if (QFile::rename(temporary, target)) // never over an existing file
        return {};
    const bool taken = QFileInfo::exists(target) || QFileInfo(target).isSymLink();
    QFile::remove(temporary);
    return {taken, taken ? QString() : QStringLiteral("it could not be given its name")};
}

QString openStored(const WalkedFolder &store, const QString &name, QFile &file)
{
    return openOwnForReading(file, QDir(store.path()).filePath(name));
}

FileBytes readStored(const WalkedFolder &store, const QString &name, qint64 limit)
{
    return readOwnFile(QDir(store.path()).filePath(name), limit);
}

} // namespace tarnwell
