// SPDX-License-Identifier: MIT
// Windows: the folder lies in the user's own local application data, which other users cannot
// write; files are still made new only (CREATE_NEW) and named without replacing anything.
#include "files/backupstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace tarnwell {

QString backupFolderProblem(const QString &folder, bool create)
{
    for (const QString &path : {QFileInfo(folder).absolutePath(), folder}) {
        const QFileInfo info(path);
        if (info.isSymLink() || info.isJunction())
            return QStringLiteral("%1: it is a link, not a folder").arg(QDir::toNativeSeparators(path));
        if (info.exists() && !info.isDir())
            return QStringLiteral("%1: it is a file, not a folder").arg(QDir::toNativeSeparators(path));
        if (create && !info.exists() && !QDir().mkpath(path))
            return QStringLiteral("%1: it could not be made").arg(QDir::toNativeSeparators(path));
    }
    return {};
}

StoredFile storeNewFile(const QString &folder, const QString &name, QByteArrayView bytes)
{
    const QDir dir(folder);
    const QString temporary = dir.filePath(QStringLiteral(".new-%1").arg(QRandomGenerator::global()->generate64(), 0, 36));
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

} // namespace tarnwell
