// SPDX-License-Identifier: MIT
// POSIX: readdir() tells most entries' kinds itself; only links and file systems that do not say
// are asked with fstatat() on the open folder.
#include "files/folderlisting.h"

#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace tarnwell {

namespace {

FolderEntry::Kind kindOf(mode_t mode)
{
    return S_ISREG(mode) ? FolderEntry::File : S_ISDIR(mode) ? FolderEntry::Folder : FolderEntry::Other;
}

FolderEntry entryOf(DIR *folder, const struct dirent *found)
{
    FolderEntry entry{QFile::decodeName(found->d_name)};
    entry.hidden = found->d_name[0] == '.';
    entry.link = found->d_type == DT_LNK;
    if (found->d_type == DT_REG || found->d_type == DT_DIR) {
        entry.kind = found->d_type == DT_REG ? FolderEntry::File : FolderEntry::Folder;
        return entry;
    }
    if (found->d_type != DT_LNK && found->d_type != DT_UNKNOWN)
        return entry;
    struct stat info = {};
    if (::fstatat(::dirfd(folder), found->d_name, &info, 0) == 0)
        entry.kind = kindOf(info.st_mode);
    else if (found->d_type == DT_UNKNOWN && ::fstatat(::dirfd(folder), found->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0)
        entry.link = S_ISLNK(info.st_mode);
    return entry;
}

} // namespace

FolderListing listFolder(const QString &folder, qsizetype limit, const std::function<bool()> &stop)
{
    FolderListing listing;
    DIR *opened = ::opendir(QFile::encodeName(folder).constData());
    if (!opened) {
        listing.error = qt_error_string(errno);
        return listing;
    }
    for (;;) {
        errno = 0;
        const struct dirent *found = ::readdir(opened);
        if (!found) {
            if (errno != 0)
                listing.error = qt_error_string(errno);
            break;
        }
        if (found->d_name[0] == '.' && (!found->d_name[1] || (found->d_name[1] == '.' && !found->d_name[2])))
            continue;
        if (listing.entries.size() == limit || (stop && stop())) {
            listing.cut = true;
            break;
        }
        listing.entries.append(entryOf(opened, found));
    }
    ::closedir(opened);
    return listing;
}

} // namespace tarnwell
