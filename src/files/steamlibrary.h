// SPDX-License-Identifier: MIT
// What a Steam library says about the games in it: its appmanifest_<id>.acf files.
#pragma once

#include <QString>

#include <functional>

namespace tarnwell {

struct SteamApp {
    QString appId;      // ASCII digits only; empty when the manifest gives none
    QString installDir; // the game's folder name under steamapps/common
};

// A manifest holds a few kilobytes; a larger file is passed over unread, so that a library full of
// large or planted files cannot hold anything up.
inline constexpr qint64 kManifestLimit = 64 << 10;
// More manifests than any library holds; the rest are not looked at.
inline constexpr int kManifestsRead = 200000;

// "0" to "9" only, at least one: what Steam puts into a steam:// address.
[[nodiscard]] bool isSteamAppId(QStringView text);

// appmanifest_<id>.acf, in any letter case.
[[nodiscard]] bool isManifestName(QStringView name);

// The app of the manifest `name` in the folder `steamapps`; one that could not be read gives an
// empty app. The id inside a manifest is the one Steam goes by; the file's name is the fallback.
[[nodiscard]] SteamApp readSteamApp(const QString &steamapps, const QString &name);

// Calls `visit` for each manifest in the folder `steamapps`, until it returns false; a manifest that
// could not be read gives an empty app, so that the caller may still stop.
void forEachSteamApp(const QString &steamapps, const std::function<bool(const SteamApp &app)> &visit);

} // namespace tarnwell
