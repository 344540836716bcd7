// SPDX-License-Identifier: MIT
// A player's machine, made in a temporary folder at the sizes players have: what the small sample
// installation cannot show (a check that takes a while, a search through thousands of games).
#pragma once

#include <QString>

namespace testsupport {

struct PlayerMachine {
    struct Sizes {
        int steamGames = 2000; // manifests, each with its game folder, spread over the libraries
        int steamLibraries = 3; // the Steam root's own and others it names
        bool flatpak = false;   // the Steam root in the Flatpak place rather than the native one
        int heroicGames = 500;  // in Heroic's list of installed games
        int gamesFolders = 200; // directly in ~/Games
        // The game's executable: a real one holds hundreds of megabytes. It is sparse, so it takes no
        // room on disk and is read as zeros, which no release is; its digest is kExeDigest.
        qint64 exeBytes = qint64(300) << 20;
    };
    // MD5 of 300 MiB of zero bytes, as the status shows it.
    static constexpr const char *kExeDigest = "0D97A9CD8BBD7CE75A2A76BB06258915";

    // Fills the (empty) home folder: Steam's libraries with the game in the last one, Heroic's list,
    // ~/Games. False when something could not be made.
    [[nodiscard]] bool make(const QString &home, const Sizes &sizes);
    [[nodiscard]] bool make(const QString &home) { return make(home, Sizes()); }

    QString home;
    QString gameFolder; // the game's installation in the last Steam library, with a trailing '/'
    QString exe;        // its Binaries/QVX.EXE
};

} // namespace testsupport
