// SPDX-License-Identifier: MIT
// Windows: Steam's folder and GOG Galaxy's games as the registry names them.
#include "registration/discovery.h"

#include <QSettings>

namespace tarnwell {

namespace {

QString registryValue(const QString &key, const QString &name)
{
    return QSettings(key, QSettings::NativeFormat).value(name).toString();
}

} // namespace

SystemPlaces systemPlaces()
{
    SystemPlaces places;
    for (const auto &[key, name] : {std::pair{QStringLiteral("HKEY_CURRENT_USER\\Software\\Valve\\Steam"),
                                              QStringLiteral("SteamPath")},
                                    std::pair{QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Valve\\Steam"),
                                              QStringLiteral("InstallPath")}}) {
        if (const QString root = registryValue(key, name); !root.isEmpty())
            places.steamRoots << root;
    }
    const QString galaxy = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\GOG.com\\Games");
    QSettings games(galaxy, QSettings::NativeFormat);
    for (const QString &id : games.childGroups()) {
        if (const QString path = registryValue(galaxy + u'\\' + id, QStringLiteral("path")); !path.isEmpty())
            places.gameFolders << path;
    }
    return places;
}

} // namespace tarnwell
