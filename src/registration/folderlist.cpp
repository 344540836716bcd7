// SPDX-License-Identifier: MIT
#include "registration/folderlist.h"

#include "files/folderlisting.h"

#include <QCollator>
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

// By name, letter case aside, in the user's language's order: as a file manager lists them.
void sortByName(QStringList &names)
{
    QCollator order;
    order.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), order);
}

QStringList namesOf(const QString &folder, FolderEntry::Kind kind)
{
    QStringList names;
    for (const FolderEntry &entry : listFolder(folder).entries) {
        if (entry.kind == kind) // links followed; a pipe, socket or device is neither
            names << entry.name;
    }
    sortByName(names);
    return names;
}

// Ancestors from the root down, by their names alone: no disk is asked.
QStringList chainTo(const QString &current)
{
    QStringList chain;
    for (QString path = current;;) {
        chain.prepend(path);
        if (isRoot(path))
            break;
        const qsizetype cut = path.lastIndexOf(QDir::separator());
        if (cut < 0)
            break;
        const QString up = path.left(cut);
        path = up.isEmpty() || up.endsWith(u':') ? up + QDir::separator() : up;
    }
    return chain;
}

QList<FolderRow> folderRows(const QString &current)
{
    const QStringList chain = chainTo(current);
    QList<FolderRow> rows;
    for (qsizetype depth = 0; depth < chain.size(); ++depth) {
        const QString &path = chain.at(depth);
        const QString shown = folderPath(path);
        const QString name = isRoot(path) ? shown : QFileInfo(path).fileName();
        rows.append({shown, name, int(depth), true, depth + 1 == chain.size()});
    }
    const QDir here(current);
    for (const QString &child : namesOf(current, FolderEntry::Folder))
        rows.append({QDir::toNativeSeparators(here.filePath(child)), child, int(chain.size()), false, false});
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

QString driveProblem(const QString &root)
{
    const QStorageInfo volume(root);
    if (volume.isValid() && !volume.isReady())
        return QStringLiteral("the drive is not ready");
    if (!volume.isValid() || !QFileInfo(root).isDir())
        return QStringLiteral("the drive is not there");
    return folderProblem(root);
}

} // namespace

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

VolumeDetails volumeDetails(const QString &root)
{
    const QStorageInfo volume(root);
    return {root, QFileInfo(root).isDir(), volume.isReady() ? volume.name() : QString()};
}

QString folderPath(const QString &folder)
{
    const QString path = nativeFolder(folder);
    return isRoot(path) ? withTrailingSeparator(path) : path;
}

FolderView readFolder(const QString &folder, bool asDrive)
{
    FolderView view{folderPath(folder), {}, {}, {}};
    view.problem = asDrive ? driveProblem(view.path) : folderProblem(view.path);
    if (!view.problem.isEmpty())
        return view;
    const QString current = nativeFolder(folder);
    view.rows = folderRows(current);
    view.files = fileNames(current);
    return view;
}

QStringList fileNames(const QString &folder)
{
    // Regular files and links to them, as a Windows file list shows: a pipe, a socket, a device or a
    // broken link could never be a game, and reading one would never end.
    return namesOf(folder, FolderEntry::File);
}

QString pickedPath(const QString &folder, const QString &name)
{
    return folder + QDir::separator() + name;
}

} // namespace tarnwell
