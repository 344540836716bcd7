// SPDX-License-Identifier: MIT
// The game the window acts on, shared with the objects that carry out its commands.
#pragma once

#include <QString>

#include <functional>

class Platform;
class QObject;

struct RegisteredGame {
    QString exePath;       // as registered; empty before the first choice
    QString folder;        // holds Binaries and GAMEDATA; empty when none is known
    QString folderProblem; // why the registered executable gives no folder, when it gives none
    // Why it is not to be started: the file that named it could have been written by another user.
    QString foreign;

    // Reads the executable stored in Tarnwell.dat; something there that cannot be read is reported.
    void load(Platform &platform);
    // Stores the executable in Tarnwell.dat; false (and a message) when it cannot.
    bool save(Platform &platform);
    // Why no game folder is known, as the start of a sentence.
    QString noFolderReason() const;
    // Asks beside the window whether the game runs: every process is looked at, and one's folder may
    // lie on a disk that does not answer. `then` hears it on `owner`'s thread, within a few seconds.
    void whenRunningKnown(QObject *owner, std::function<void(bool running)> then) const;
};

// Before a write or a restore while the game runs: `then(true)` when the user still wants the files
// written; otherwise the user is told `notDone`, then `then(false)`. At once without a game folder.
void whenWriteAllowed(Platform &platform, const RegisteredGame &game, const QString &notDone, QObject *owner,
                      std::function<void(bool allowed)> then);
// Yes/No with `question` as the title too; No is the answer of Enter.
bool confirmDelete(Platform &platform, const QString &question);
