// SPDX-License-Identifier: MIT
// Windows: the directory's entries with their attributes, as FindFirstFileW reports them.
#include "files/folderlisting.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

namespace tarnwell {

namespace {

FolderEntry entryOf(const QString &folder, const WIN32_FIND_DATAW &found)
{
    FolderEntry entry{QString::fromWCharArray(found.cFileName)};
    const DWORD attributes = found.dwFileAttributes;
    entry.hidden = (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    entry.link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    entry.kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FolderEntry::Folder
        : (attributes & FILE_ATTRIBUTE_DEVICE)           ? FolderEntry::Other
                                                          : FolderEntry::File;
    if (entry.link) { // a link to nothing is no file
        const QFileInfo target(QDir(folder).filePath(entry.name));
        entry.kind = target.isDir() ? FolderEntry::Folder : target.isFile() ? FolderEntry::File : FolderEntry::Other;
    }
    return entry;
}

} // namespace

FolderListing listFolder(const QString &folder, qsizetype limit, const std::function<bool()> &stop)
{
    FolderListing listing;
    const std::wstring pattern = QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral("*"))).toStdWString();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND)
            listing.error = qt_error_string(int(error));
        return listing;
    }
    do {
        const QString name = QString::fromWCharArray(found.cFileName);
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        if (listing.entries.size() == limit || (stop && stop())) {
            listing.cut = true;
            break;
        }
        listing.entries.append(entryOf(folder, found));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return listing;
}

} // namespace tarnwell
