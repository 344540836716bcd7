// SPDX-License-Identifier: MIT
#include "common/systemtest.h"

#include <QDir>

#include <windows.h>

namespace testsupport {

bool isSuperuser() { return false; }
bool mountSmallFileSystem(const QString &, const char *) { return false; }
void unmount(const QString &) {}
bool rerunAsUser() { return false; }

static std::wstring wide(const QString &path) { return QDir::toNativeSeparators(path).toStdWString(); }

QString shortName(const QString &path)
{
    wchar_t buffer[MAX_PATH];
    const DWORD size = GetShortPathNameW(wide(path).c_str(), buffer, MAX_PATH);
    return size > 0 && size < MAX_PATH ? QString::fromWCharArray(buffer, int(size)) : QString();
}

bool markHidden(const QString &path, bool system)
{
    return SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_HIDDEN | (system ? FILE_ATTRIBUTE_SYSTEM : 0));
}

bool replaceFile(const QString &from, const QString &to)
{
    return MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING);
}

} // namespace testsupport
