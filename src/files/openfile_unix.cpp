// SPDX-License-Identifier: MIT
// POSIX: opened non-blocking and checked with fstat() before a byte is read.
#include "files/openfile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwell {

QString typeReason(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder, not a file");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a named pipe (FIFO), not a regular file");
    if (S_ISSOCK(mode))
        return QStringLiteral("it is a socket, not a regular file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("it is a device, not a regular file");
    return QStringLiteral("it is not a regular file");
}

namespace {

QString systemReason(int error)
{
    return qt_error_string(error);
}

} // namespace

QString notRegularReason(const QString &path)
{
    struct stat info = {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return typeReason(info.st_mode);
}

namespace {

QString openChecked(QFile &file, const QString &path, bool own)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (own ? O_NOFOLLOW : 0));
    if (fd < 0)
        return own && errno == ELOOP ? QStringLiteral("it is a symbolic link") : systemReason(errno);
    struct stat info = {};
    QString why;
    if (::fstat(fd, &info) != 0)
        why = systemReason(errno);
    else if (!S_ISREG(info.st_mode))
        why = typeReason(info.st_mode);
    else if (own && info.st_uid != ::geteuid())
        why = QStringLiteral("it belongs to another user");
    else if (own && info.st_nlink != 1)
        why = QStringLiteral("it has other hard links");
    if (!why.isEmpty()) {
        ::close(fd);
        return why;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return file.errorString();
    }
    return {};
}

FileStamp stampFrom(const struct stat &info)
{
    return {quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
            qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

} // namespace

QString openForReading(QFile &file, const QString &path)
{
    if (path.isEmpty())
        return systemReason(ENOENT);
    // Devices are not even opened: opening some of them has effects of its own.
    if (const QString reason = notRegularReason(path); !reason.isEmpty())
        return reason;
    return openChecked(file, path, false);
}

QString openOwnForReading(QFile &file, const QString &path)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode))
        return typeReason(info.st_mode);
    return openChecked(file, path, true);
}

FileStamp stampOf(const QFile &file)
{
    struct stat info = {};
    return ::fstat(file.handle(), &info) == 0 ? stampFrom(info) : FileStamp{};
}

FileStamp stampAt(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? stampFrom(info) : FileStamp{};
}

int nameCount(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_nlink) : 1;
}

} // namespace tarnwell
