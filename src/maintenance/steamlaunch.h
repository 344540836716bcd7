// SPDX-License-Identifier: MIT
// How "Launch" starts the game: directly, or through Steam when this system cannot run the
// game's Windows executable by itself.
#pragma once

#include <QString>

namespace tarnwell {

struct LaunchPlan {
    enum Kind { Direct, Steam, NeedsCompatibilityLayer } kind = Direct;
    QString appId; // Steam: the game's app id
};

// Direct for a program this system can start (always on Windows); Steam when the game folder lies
// in a Steam library whose manifest names it; otherwise the game needs a compatibility layer.
[[nodiscard]] LaunchPlan planLaunch(const QString &exePath, const QString &gameFolder);

// Execute permission, and not a Windows executable (those begin with "MZ").
[[nodiscard]] bool isStartableProgram(const QString &path);
// True for a Windows executable (beginning with "MZ") on a system that cannot start one by itself.
[[nodiscard]] bool needsCompatibilityLayer(const QString &path);

// The app id of a game folder `<library>/steamapps/common/<folder>`, from the library's
// `appmanifest_<id>.acf` whose installdir is that folder; empty when there is none.
[[nodiscard]] QString steamAppId(const QString &gameFolder);

} // namespace tarnwell
