// SPDX-License-Identifier: MIT
// Windows: the file's own calls; a rename never replaces what has the new name.
#include "files/fileremoval.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tarnwell {

QString removeIn(const WalkedFolder &folder, const QString &name)
{
    const QString path = QDir(folder.path()).filePath(name);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return QStringLiteral("it is not there");
    if (info.isDir() && !info.isSymLink())
        return QStringLiteral("it is a folder");
    QFile file(path);
    return file.remove() ? QString() : file.errorString();
}

QString removeFile(const QString &path)
{
    const FileTarget target = reachFile(path, Reach::Remove);
    if (!target.ok())
        return target.problem;
    return removeIn(target.folder, target.name);
}

QString renameAside(const QString &path, const QString &newName)
{
    const FileTarget target = reachFile(path, Reach::Remove);
    if (!target.ok())
        return target.problem;
    QFile file(target.path);
    return file.rename(QDir(target.folder.path()).filePath(newName)) ? QString() : file.errorString();
}

} // namespace tarnwell
