// SPDX-License-Identifier: MIT
// What the picker's three lists show: drives, a folder tree in the classic manner, and files.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tarnwell {

struct Drive {
    QString root; // native form, with its trailing separator ("/", "/media/stick/", "C:\")
    QString caption;
};

// The drives: the root folders of Windows, or the root and the mounted volumes elsewhere.
QList<Drive> drives();

// Of the drive roots given, the one that holds `folder` (the longest that leads to it); empty if none.
QString driveOf(const QStringList &roots, const QString &folder);

// Empty text when `root` can be opened; otherwise why not.
QString driveProblem(const QString &root);

struct FolderRow {
    QString path;  // native form; a root keeps its trailing separator
    QString name;  // what the row shows, before indentation
    int depth = 0; // 0 for the root
    bool open = false; // the root, its ancestors and the current folder itself
    bool current = false;
};

// The folder as Dir1 holds it: absolute, cleaned, native; a root keeps its trailing separator.
QString folderPath(const QString &folder);

// The ancestors of `folder` from the root down, the folder itself, then its subfolders by name.
QList<FolderRow> folderRows(const QString &folder);

// Empty text when `folder` can be listed; otherwise why not.
QString folderProblem(const QString &folder);

// Every regular file of the folder (hidden ones and links to files too), by name.
QStringList fileNames(const QString &folder);

// The chosen file's path: the folder, one separator, the name. A root folder already ends in a
// separator, and the path then holds two in a row; that is kept, as it names the same file.
QString pickedPath(const QString &folder, const QString &name);

} // namespace tarnwell
