// SPDX-License-Identifier: MIT
// Windows: the short name through the wide-character call, so any path in any code page works.
#include "registration/shortpath.h"

#include <QDir>

#include <windows.h>

#include <vector>

namespace tarnwell {

QString shortPath(const QString &path)
{
    if (path.isEmpty())
        return QString();
    const std::wstring longPath = QDir::toNativeSeparators(path).toStdWString();
    if (GetFileAttributesW(longPath.c_str()) == INVALID_FILE_ATTRIBUTES)
        return QString();
    // Asked with no buffer, the call says how many characters (terminator included) it needs.
    DWORD needed = GetShortPathNameW(longPath.c_str(), nullptr, 0);
    if (needed == 0)
        return QString::fromStdWString(longPath);
    std::vector<wchar_t> buffer(needed);
    const DWORD written = GetShortPathNameW(longPath.c_str(), buffer.data(), needed);
    // No short names on the volume, or it changed between the two calls: the long path still names the file.
    if (written == 0 || written >= needed)
        return QString::fromStdWString(longPath);
    return QString::fromWCharArray(buffer.data(), written);
}

} // namespace tarnwell
