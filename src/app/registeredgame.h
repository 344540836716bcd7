// SPDX-License-Identifier: MIT
// The game the window acts on, shared with the objects that carry out its commands.
#pragma once

#include <QString>

class Platform;

struct RegisteredGame {
    QString exePath;       // as registered; empty before the first choice
    QString folder;        // holds Binaries and GAMEDATA; empty when none is known
    QString folderProblem; // why the registered executable gives no folder, when it gives none

    // Reads the executable stored in Tarnwell.dat; something there that cannot be read is reported.
    void load(Platform &platform);
    // Stores the executable in Tarnwell.dat; false (and a message) when it cannot.
    bool save(Platform &platform) const;
    // Why no game folder is known, as the start of a sentence.
    QString noFolderReason() const;
    bool isRunning() const;
};

// Before a write or a restore while the game runs: true when the user still wants the files written;
// otherwise the user is told `notDone`.
bool gameAllowsWrite(Platform &platform, const RegisteredGame &game, const QString &notDone);
// Yes/No with `question` as the title too; No is the answer of Enter.
bool confirmDelete(Platform &platform, const QString &question);
