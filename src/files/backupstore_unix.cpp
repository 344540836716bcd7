// SPDX-License-Identifier: MIT
// POSIX: the folders are checked on descriptors opened without following links, and files are made
// with O_EXCL|O_NOFOLLOW relative to the checked folder, so that a link planted at a name, or a
// folder swapped after its check, is never written through.
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

class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

int openFolder(const QString &path)
{
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

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

} // namespace

QString backupFolderProblem(const QString &folder, bool create)
{
    // The tool's own folder above the copies is checked too: whoever can write there can swap the folder.
    const QString paths[] = {QFileInfo(folder).absolutePath(), folder};
    // The data home above them may not exist yet on a fresh account; it is the user's, as it would be anyway.
    if (create)
        QDir().mkpath(QFileInfo(paths[0]).absolutePath());
    for (const QString &path : paths) {
        if (create && ::mkdir(QFile::encodeName(path).constData(), 0700) != 0 && errno != EEXIST)
            return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), qt_error_string(errno));
        const Descriptor fd(openFolder(path));
        const QString why = fd.get() < 0 ? openReason(errno) : folderDistrust(fd.get());
        if (!why.isEmpty())
            return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), why);
    }
    return {};
}

StoredFile storeNewFile(const QString &folder, const QString &name, QByteArrayView bytes)
{
    const Descriptor dir(openFolder(folder));
    if (dir.get() < 0)
        return {false, openReason(errno)};
    if (const QString why = folderDistrust(dir.get()); !why.isEmpty())
        return {false, why};
    const QByteArray target = QFile::encodeName(name);
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
        temporary = ".new-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        fd = ::openat(dir.get(), temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
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
    if (error == 0 && ::linkat(dir.get(), temporary.constData(), dir.get(), target.constData(), 0) != 0)
        error = errno;
    if (error == EPERM || error == ENOTSUP || error == EOPNOTSUPP) { // a file system without hard links
        error = 0;
        if (::renameat2(dir.get(), temporary.constData(), dir.get(), target.constData(), RENAME_NOREPLACE) != 0)
            error = errno;
    }
    ::unlinkat(dir.get(), temporary.constData(), 0);
    if (error == EEXIST)
        return {true, {}};
    return {false, error ? qt_error_string(error) : QString()};
}

} // namespace tarnwell
