// SPDX-License-Identifier: MIT
// Windows: Steam's folder and GOG Galaxy's games as the registry names them. Read through the registry
// calls themselves, opened for reading only: QSettings makes every key it reads from, so that each
// start would leave empty Steam and GOG keys behind on a machine without them.
#include "registration/discovery.h"

#include <windows.h>

#include <string>
#include <tuple>

namespace tarnwell {

namespace {

QString registryValue(HKEY root, const std::wstring &key, const wchar_t *name)
{
    DWORD size = 0;
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS || size == 0)
        return {};
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text.data(), &size) != ERROR_SUCCESS)
        return {};
    return QString::fromWCharArray(text.c_str()); // up to its terminating null
}

QStringList subkeys(HKEY root, const std::wstring &key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return {};
    QStringList names;
    wchar_t name[256]; // the longest name a key can have, and its null
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(handle, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names << QString::fromWCharArray(name, int(length));
    }
    RegCloseKey(handle);
    return names;
}

} // namespace

SystemPlaces systemPlaces()
{
    SystemPlaces places;
    for (const auto &[root, key, name] :
         {std::tuple{HKEY_CURRENT_USER, std::wstring(L"Software\\Valve\\Steam"), L"SteamPath"},
          std::tuple{HKEY_LOCAL_MACHINE, std::wstring(L"SOFTWARE\\WOW6432Node\\Valve\\Steam"), L"InstallPath"}}) {
        if (const QString folder = registryValue(root, key, name); !folder.isEmpty())
            places.steamRoots << folder;
    }
    const std::wstring galaxy = L"SOFTWARE\\WOW6432Node\\GOG.com\\Games";
    for (const QString &id : subkeys(HKEY_LOCAL_MACHINE, galaxy)) {
        if (const QString path = registryValue(HKEY_LOCAL_MACHINE, galaxy + L'\\' + id.toStdWString(), L"path");
            !path.isEmpty())
            places.gameFolders << path;
    }
    return places;
}

} // namespace tarnwell
