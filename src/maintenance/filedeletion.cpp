// SPDX-License-Identifier: MIT
#include "maintenance/filedeletion.h"

#include "files/pathcase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tarnwell {

namespace {

bool removeEntry(const QFileInfo &info)
{
    // isDir() follows links: a link to a folder is left alone, and so is everything behind it.
    if (info.isDir())
        return false;
    return QFile::remove(info.filePath());
}

} // namespace

DeleteResult deleteFile(const QString &path)
{
    DeleteResult result;
    if (path.isEmpty()) {
        result.failed = 1;
        return result;
    }
    const QFileInfo info(resolveCase(path));
    if ((info.exists() || info.isSymLink()) && removeEntry(info))
        result.deleted = 1;
    else
        result.failed = 1;
    return result;
}

DeleteResult deleteAllFilesIn(const QString &folder)
{
    DeleteResult result;
    const QString resolved = resolveCase(folder);
    if (folder.isEmpty() || !QFileInfo(resolved).isDir()) {
        result.failed = 1;
        return result;
    }
    // System takes in broken links and other odd entries, which are files to the user too.
    const QFileInfoList entries = QDir(resolved).entryInfoList(
        QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir())
            continue;
        if (removeEntry(entry))
            ++result.deleted;
        else
            ++result.failed;
    }
    return result;
}

} // namespace tarnwell
