// SPDX-License-Identifier: MIT
// Windows: opened through the wide-character call and checked to be a file on disk, not a device
// or a pipe, before a byte is read.
#include "files/openfile.h"

#include <QDir>
#include <QFileInfo>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

namespace tarnwell {

namespace {

std::wstring nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

} // namespace

QString notRegularReason(const QString &path)
{
    if (path.isEmpty())
        return {};
    const DWORD attributes = GetFileAttributesW(nativePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return {};
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return QStringLiteral("it is a folder, not a file");
    if (attributes & FILE_ATTRIBUTE_DEVICE)
        return QStringLiteral("it is a device, not a regular file");
    return {};
}

QString openForReading(QFile &file, const QString &path)
{
    if (path.isEmpty())
        return qt_error_string(ERROR_FILE_NOT_FOUND);
    if (const QString reason = notRegularReason(path); !reason.isEmpty())
        return reason;
    HANDLE handle = CreateFileW(nativePath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return qt_error_string(int(GetLastError()));
    if (const DWORD type = GetFileType(handle); type != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return type == FILE_TYPE_PIPE ? QStringLiteral("it is a named pipe, not a regular file")
                                      : QStringLiteral("it is a device, not a regular file");
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return QStringLiteral("it could not be opened");
    }
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        _close(fd);
        return file.errorString();
    }
    return {};
}

QString openOwnForReading(QFile &file, const QString &path)
{
    // The user's own local application data is the user's alone; a link there is still not followed.
    if (QFileInfo(path).isSymLink())
        return QStringLiteral("it is a symbolic link");
    return openForReading(file, path);
}

FileStamp stampOf(const QFile &file)
{
    struct _stat64 info = {};
    if (_fstat64(file.handle(), &info) != 0)
        return {};
    // Both stamps hold what both calls see alike: the size and the second of the last change.
    return {0, 0, qint64(info.st_size), qint64(info.st_mtime) * 1000000000};
}

FileStamp stampAt(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {0, 0, info.size(), info.lastModified().toSecsSinceEpoch() * 1000000000};
}

int nameCount(const QString &path)
{
    // NTFS has hard links too (mklink /H); a rename would leave the other names with the old content.
    // Opened for no access at all, so that a file open elsewhere still tells.
    HANDLE handle = CreateFileW(nativePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return 1;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    return known && info.nNumberOfLinks > 1 ? int(info.nNumberOfLinks) : 1;
}

} // namespace tarnwell
