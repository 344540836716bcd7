// SPDX-License-Identifier: MIT
// What the picker's three lists show: drives, a folder tree in the classic manner, and files. The
// drives come from the system's table of mounts without touching them; everything that reads a disk
// runs beside the window (see readFolder(), volumeDetails()).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tarnwell {

struct Drive {
    QString root; // native form, with its trailing separator ("/", "/media/stick/", "C:\")
    QString caption;
};

// The drives: the root folders of Windows, or the root and the mounted volumes elsewhere, as the
// mount table names them. No disk is asked: a network share that stalls holds nothing up.
QList<Drive> drives();

// Of the drive roots given, the one that holds `folder` (the longest that leads to it); empty if none.
QString driveOf(const QStringList &roots, const QString &folder);

// What only the drive itself can tell, asked beside the window.
struct VolumeDetails {
    QString root;
    bool folder = false; // false for a single file mounted into place (as containers do): no drive
    QString name;        // the volume's label, when it has one
};
VolumeDetails volumeDetails(const QString &root);

struct FolderRow {
    QString path;  // native form; a root keeps its trailing separator
    QString name;  // what the row shows, before indentation
    int depth = 0; // 0 for the root
    bool open = false; // the root, its ancestors and the current folder itself
    bool current = false;
};

// The folder as Dir1 holds it: absolute, cleaned, native; a root keeps its trailing separator.
QString folderPath(const QString &folder);

// A folder read for the lists: the ancestors of `folder` from the root down, the folder itself, then
// its subfolders by name; and its regular files (hidden ones and links to files too), by name.
struct FolderView {
    QString path;     // as folderPath() gives it
    QString problem;  // why it cannot be shown ("the folder does not exist"); empty when it can
    QList<FolderRow> rows;
    QStringList files;
};
// Reads the disk: beside the window. `asDrive` words the problems as a drive's ("the drive is not there").
[[nodiscard]] FolderView readFolder(const QString &folder, bool asDrive = false);

// Every regular file of the folder (hidden ones and links to files too), by name.
QStringList fileNames(const QString &folder);

// The chosen file's path: the folder, one separator, the name. A root folder already ends in a
// separator, and the path then holds two in a row; that is kept, as it names the same file.
QString pickedPath(const QString &folder, const QString &name);

} // namespace tarnwell
