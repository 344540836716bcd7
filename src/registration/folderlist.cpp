// SPDX-License-Identifier: MIT
#include "registration/folderlist.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace tarnwell {

namespace {

QString withTrailingSeparator(QString root)
{
    root = QDir::toNativeSeparators(root);
    if (!root.endsWith(QDir::separator()))
        root += QDir::separator();
    return root;
}

QString nativeFolder(const QString &folder)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(folder).absolutePath()));
}

bool isRoot(const QString &nativePath)
{
    return QDir(nativePath).isRoot();
}

const QDir::Filters kEverything = QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

} // namespace

QList<Drive> drives()
{
    QList<Drive> result;
#ifdef Q_OS_WIN
    for (const QFileInfo &drive : QDir::drives()) {
        const QString root = withTrailingSeparator(drive.absoluteFilePath());
        const QStorageInfo volume(root);
        QString caption = root.left(2).toLower();
        if (volume.isReady() && !volume.name().isEmpty())
            caption += QStringLiteral(" [%1]").arg(volume.name());
        result.append({root, caption});
    }
#else
    result.append({QStringLiteral("/"), QStringLiteral("/")});
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = withTrailingSeparator(volume.rootPath());
        // Single files mounted into place (as containers do) are no drives.
        if (root == QLatin1String("/") || !QFileInfo(volume.rootPath()).isDir())
            continue;
        QString caption = root;
        if (!volume.name().isEmpty())
            caption += QStringLiteral(" [%1]").arg(volume.name());
        result.append({root, caption});
    }
    std::sort(result.begin() + 1, result.end(),
              [](const Drive &a, const Drive &b) { return a.root < b.root; });
#endif
    return result;
}

QString driveOf(const QStringList &roots, const QString &folder)
{
    const QString wanted = withTrailingSeparator(nativeFolder(folder));
    QString best;
    for (const QString &root : roots) {
        if (wanted.startsWith(root, Qt::CaseInsensitive) && root.size() > best.size())
            best = root;
    }
    return best;
}

QString driveProblem(const QString &root)
{
    const QStorageInfo volume(root);
    if (volume.isValid() && !volume.isReady())
        return QStringLiteral("the drive is not ready");
    if (!volume.isValid() || !QFileInfo(root).isDir())
        return QStringLiteral("the drive is not there");
    return folderProblem(root);
}

QString folderPath(const QString &folder)
{
    const QString path = nativeFolder(folder);
    return isRoot(path) ? withTrailingSeparator(path) : path;
}

QList<FolderRow> folderRows(const QString &folder)
{
    const QString current = nativeFolder(folder);
    QStringList chain; // from the folder up to its root
    QDir walker(current);
    for (;;) {
        chain.prepend(QDir::toNativeSeparators(walker.absolutePath()));
        if (walker.isRoot() || !walker.cdUp())
            break;
    }
    QList<FolderRow> rows;
    for (qsizetype depth = 0; depth < chain.size(); ++depth) {
        const QString &path = chain.at(depth);
        const QString shown = folderPath(path);
        const QString name = isRoot(path) ? shown : QFileInfo(path).fileName();
        rows.append({shown, name, int(depth), true, depth + 1 == chain.size()});
    }
    const int childDepth = int(chain.size());
    const QDir here(current);
    const QStringList children =
        here.entryList(QDir::Dirs | kEverything, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QString &child : children)
        rows.append({QDir::toNativeSeparators(here.filePath(child)), child, childDepth, false, false});
    return rows;
}

QString folderProblem(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.exists())
        return QStringLiteral("the folder does not exist");
    if (!info.isDir())
        return QStringLiteral("it is not a folder");
    if (!info.isReadable() || !info.isExecutable())
        return QStringLiteral("access is denied");
    return QString();
}

QStringList fileNames(const QString &folder)
{
    // Regular files and links to them, as a Windows file list shows: a pipe, a socket, a device or a
    // broken link could never be a game, and reading one would never end.
    QStringList names;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | kEverything, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QFileInfo &entry : entries) {
        if (entry.isFile()) // links followed; a pipe, socket or device is no file to it
            names << entry.fileName();
    }
    return names;
}

QString pickedPath(const QString &folder, const QString &name)
{
    return folder + QDir::separator() + name;
}

} // namespace tarnwell
