// SPDX-License-Identifier: MIT
#include "common/systemtest.h"

#include <QDir>

#include <windows.h>

namespace testsupport {

bool isSuperuser() { return false; }
bool mountSmallFileSystem(const QString &, const char *) { return false; }
void unmount(const QString &) {}
bool rerunAsUser() { return false; }

namespace {

const wchar_t *wide(const QString &path)
{
    return reinterpret_cast<const wchar_t *>(path.utf16());
}

} // namespace

QString shortName(const QString &path)
{
    const QString native = QDir::toNativeSeparators(path);
    wchar_t buffer[MAX_PATH];
    const DWORD size = GetShortPathNameW(wide(native), buffer, MAX_PATH);
    return size > 0 && size < MAX_PATH ? QString::fromWCharArray(buffer, int(size)) : QString();
}

bool markHidden(const QString &path, bool system)
{
    return SetFileAttributesW(wide(QDir::toNativeSeparators(path)),
                              FILE_ATTRIBUTE_HIDDEN | (system ? FILE_ATTRIBUTE_SYSTEM : 0));
}

bool replaceFile(const QString &from, const QString &to)
{
    return MoveFileExW(wide(QDir::toNativeSeparators(from)), wide(QDir::toNativeSeparators(to)),
                       MOVEFILE_REPLACE_EXISTING);
}

} // namespace testsupport
