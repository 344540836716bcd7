// SPDX-License-Identifier: MIT
// POSIX: unlinkat() and renameat2() in the folder the walk opened, never a path opened again.
#include "files/fileremoval.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwell {

QString removeIn(const WalkedFolder &folder, const QString &name)
{
    const QByteArray encoded = QFile::encodeName(name);
    struct stat info = {};
    if (::fstatat(folder.handle(), encoded.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? QStringLiteral("it is not there") : qt_error_string(errno);
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("it is a folder");
    return ::unlinkat(folder.handle(), encoded.constData(), 0) == 0 ? QString() : qt_error_string(errno);
}

QString removeFile(const QString &path)
{
    const FileTarget target = reachFile(path, Reach::Remove);
    if (!target.ok())
        return target.problem;
    if (!target.exists)
        return QStringLiteral("it is not there");
    return removeIn(target.folder, target.name);
}

QString renameAside(const QString &path, const QString &newName)
{
    const FileTarget target = reachFile(path, Reach::Remove);
    if (!target.ok())
        return target.problem;
    const int folder = target.folder.handle();
    const QByteArray from = QFile::encodeName(target.name), to = QFile::encodeName(newName);
    if (::renameat2(folder, from.constData(), folder, to.constData(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return qt_error_string(errno);
    // Where the file system cannot refuse to replace: a hard link never replaces, then the old name goes.
    if (::linkat(folder, from.constData(), folder, to.constData(), 0) != 0)
        return qt_error_string(errno);
    return ::unlinkat(folder, from.constData(), 0) == 0 ? QString() : qt_error_string(errno);
}

} // namespace tarnwell
