// SPDX-License-Identifier: MIT
// POSIX: the tool's folder and the backups folder are opened with O_NOFOLLOW|O_DIRECTORY from the
// data home as the walk reached it, checked on their descriptors, and files are made with
// O_EXCL|O_NOFOLLOW relative to the checked folder: a link planted at a name, or a folder swapped
// after its check, is never written through.
#include "files/backupstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwell {

namespace {

// Why a folder opened at `fd` is no place for copies; empty when it is one.
QString folderDistrust(int fd)
{
    struct stat info = {};
    if (::fstat(fd, &info) != 0)
        return qt_error_string(errno);
    if (info.st_uid != ::geteuid())
        return QStringLiteral("it belongs to another user (user id %1), not to the user running Tarnwell (%2)")
            .arg(info.st_uid)
            .arg(::geteuid());
    if (info.st_mode & (S_IWGRP | S_IWOTH))
        return QStringLiteral("other users can write in it (mode %1); it must be writable by its owner alone")
            .arg(info.st_mode & 07777, 4, 8, QLatin1Char('0'));
    return {};
}

QString openReason(int error)
{
    if (error == ELOOP || error == ENOTDIR)
        return QStringLiteral("it is a symbolic link or a file, not a folder");
    return qt_error_string(error);
}

// The folder `name` in the one open at `parent`, made when missing and asked for; never a link.
int openOwn(int parent, const QString &name, bool create, QString &why)
{
    const QByteArray encoded = QFile::encodeName(name);
    if (create && ::mkdirat(parent, encoded.constData(), 0700) != 0 && errno != EEXIST) {
        why = qt_error_string(errno);
        return -1;
    }
    const int fd = ::openat(parent, encoded.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        why = openReason(errno);
        return -1;
    }
    why = folderDistrust(fd);
    if (why.isEmpty())
        return fd;
    ::close(fd);
    return -1;
}

} // namespace

WalkedFolder openStore(const QString &folder, bool create, QString &problem)
{
    const QString absolute = QDir::cleanPath(QDir(folder).absolutePath());
    const QString tool = QFileInfo(absolute).absolutePath(), home = QFileInfo(tool).absolutePath();
    // The data home may not exist yet on a fresh account; it is the user's, as it would be anyway.
    QString why;
    const WalkedFolder dataHome = reachFolder(home, why, create);
    if (!dataHome.isOpen()) {
        problem = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(home), why);
        return {};
    }
    const int toolFd = openOwn(dataHome.handle(), QFileInfo(tool).fileName(), create, why);
    if (toolFd < 0) {
        problem = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(tool), why);
        return {};
    }
    const WalkedFolder toolFolder(toolFd, QDir::toNativeSeparators(tool));
    const int storeFd = openOwn(toolFd, QFileInfo(absolute).fileName(), create, why);
    if (storeFd < 0) {
        problem = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(absolute), why);
        return {};
    }
    return WalkedFolder(storeFd, QDir::toNativeSeparators(absolute));
}

StoredFile storeNewFile(const WalkedFolder &store, const QString &name, QByteArrayView bytes)
{
    const int dir = store.handle();
    removeStaleTemporaries(store);
    const QByteArray target = QFile::encodeName(name);
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
        temporary = kTemporaryPrefix + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        fd = ::openat(dir, temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            return {false, qt_error_string(errno)};
    }
    if (fd < 0)
        return {false, qt_error_string(EEXIST)};
    bool written = true;
    for (qsizetype at = 0; written && at < bytes.size();) {
        const ssize_t put = ::write(fd, bytes.data() + at, size_t(bytes.size() - at));
        const int why = put < 0 ? errno : EIO;
        written = put > 0 || why == EINTR;
        at += put > 0 ? put : 0;
        if (!written)
            errno = why;
    }
    int error = written ? 0 : errno;
    if (written && ::fsync(fd) != 0)
        error = errno;
    ::close(fd);
    // A hard link never replaces what has the name already; the temporary name goes either way.
    if (error == 0 && ::linkat(dir, temporary.constData(), dir, target.constData(), 0) != 0)
        error = errno;
    if (error == EPERM || error == ENOTSUP || error == EOPNOTSUPP) { // a file system without hard links
        error = 0;
        if (::renameat2(dir, temporary.constData(), dir, target.constData(), RENAME_NOREPLACE) != 0)
            error = errno;
    }
    ::unlinkat(dir, temporary.constData(), 0);
    if (error == EEXIST)
        return {true, {}};
    return {false, error ? qt_error_string(error) : QString()};
}

QString openStored(const WalkedFolder &store, const QString &name, QFile &file)
{
    const int fd = ::openat(store.handle(), QFile::encodeName(name).constData(),
                            O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno == ELOOP ? QStringLiteral("it is a symbolic link") : qt_error_string(errno);
    struct stat info = {};
    QString why;
    if (::fstat(fd, &info) != 0)
        why = qt_error_string(errno);
    else if (!S_ISREG(info.st_mode))
        why = QStringLiteral("it is not a regular file");
    else if (info.st_uid != ::geteuid())
        why = QStringLiteral("it belongs to another user");
    else if (info.st_nlink != 1)
        why = QStringLiteral("it has other hard links");
    if (why.isEmpty() && !file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        why = file.errorString();
    if (!why.isEmpty())
        ::close(fd);
    return why;
}

FileBytes readStored(const WalkedFolder &store, const QString &name, qint64 limit)
{
    QFile file;
    if (const QString why = openStored(store, name, file); !why.isEmpty())
        return {{}, why};
    return readOpenedFile(file, limit);
}

} // namespace tarnwell
