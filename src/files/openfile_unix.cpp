// SPDX-License-Identifier: MIT
// POSIX: opened non-blocking and checked with fstat() before a byte is read.
#include "files/openfile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwell {

namespace {

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

QString openForReading(QFile &file, const QString &path)
{
    if (path.isEmpty())
        return systemReason(ENOENT);
    // Devices are not even opened: opening some of them has effects of its own.
    if (const QString reason = notRegularReason(path); !reason.isEmpty())
        return reason;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return systemReason(errno);
    struct stat info = {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return systemReason(error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return typeReason(info.st_mode);
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

} // namespace tarnwell
