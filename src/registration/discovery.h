// SPDX-License-Identifier: MIT
// Finding the game's installations without the user browsing: Steam libraries, other launchers'
// lists of installed games, and the usual games folder. Bounded in entries, sizes and time, and
// linear in what it looks at: each folder is read once.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace tarnwell {

struct Installation {
    QString caption; // where it was found and the game folder's name: "Steam: Quillvane"
    QString exePath; // native, as found below the library or folder that holds it
};

// The places the system's own settings name (the registry on Windows; none elsewhere).
struct SystemPlaces {
    QStringList steamRoots;
    QStringList gameFolders; // game folders of launchers that list them there
};
[[nodiscard]] SystemPlaces systemPlaces();

struct DiscoveryLimits {
    // Folder entries and manifests looked at, for each source (Steam, Heroic, GOG, the games folder)
    // on its own: a library of thousands of games leaves the other sources their share.
    int entries = 200000;
    qint64 listBytes = 4 << 20; // a library list or a launcher's list larger than this is none
    int milliseconds = 10000;   // for the whole search; then it stops with what it has
};

struct Discovery {
    QList<Installation> found; // Steam's first
    // One line for each bound that cut the search short, such as "Steam: after 200,000 folder
    // entries and manifests"; empty when it looked everywhere.
    QStringList cutShort;
    qint64 entries = 0; // folder entries and manifests looked at, all sources together
};

// Every installation (a `Binaries/QVX.EXE`, letter case ignored) below the home folder's Steam
// roots (native, Flatpak, Snap), the libraries their libraryfolders.vdf names, Heroic's lists of
// installed games, ~/Games/Heroic and ~/Games, and the system's places; each once, by the file it
// really is. Stops early when `stop` says so. `found` hears of each installation as it is found, so
// that what was found before a disk stopped answering is not lost with the search.
[[nodiscard]] Discovery findInstallations(const QString &home, const SystemPlaces &system,
                                          const DiscoveryLimits &limits = {}, const std::function<bool()> &stop = {},
                                          const std::function<void(const Installation &)> &found = {});

} // namespace tarnwell
