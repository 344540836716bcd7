// SPDX-License-Identifier: MIT
// "Launch", and "Launch with...", which chooses how Launch starts the registered game.
#pragma once

#include "registration/installations.h"

#include <QElapsedTimer>
#include <QObject>

#include <functional>

class Platform;
class RecentInstallations;
struct RegisteredGame;
namespace tarnwell { struct Command; }

class GameLauncher : public QObject
{
    Q_OBJECT

public:
    struct Facts; // what the disk and the processes say about the registered game

    GameLauncher(Platform &platform, const RegisteredGame &game, RecentInstallations &recent, QObject *parent);

    // Starts the game the way chosen for it; a game that cannot start, or already runs, is reported.
    void launch();
    // Asks how Launch is to start the game, and keeps the answer with the remembered installations.
    void chooseWay();
    bool isPreparing() const { return m_preparing; }

signals:
    // A note for the status area, shown for `ms` milliseconds.
    void note(const QString &text, int ms);
    // The note is no longer true: the status area shows what it showed before, if the note is still there.
    void noteWithdrawn(const QString &text);

private:
    void launchWith(const Facts &facts);
    void askSteam(const QString &appId);
    // The launch command of the registered executable as chosen with "Launch with...".
    bool launchChosenWay(const Facts &facts);
    // A failed start is reported, naming the game by the path the user chose when `game` starts it.
    // `failed` runs, before the message, when the command could not be started.
    void start(const tarnwell::Command &command, bool game = false, std::function<void()> failed = {});
    // A command line that names no compatibility layer is looked at before it is kept.
    void keepCommandLine(const tarnwell::LaunchChoice &choice);
    // A command line that would start the Windows executable directly where the system cannot: says
    // so, offers Steam for a copy in a Steam library, and keeps what the user then chooses.
    void keepWithoutLayer(tarnwell::LaunchChoice choice, bool inSteamLibrary);
    // Why what the configuration names is not run now, or empty text when it is.
    QString distrusted(const Facts &facts) const;

    static constexpr int kSteamNoteMs = 6000;
    // How long Launch waits for what the game's disk says; a sleeping hard disk wakes within it.
    static constexpr int kPreparePatienceMs = 10000;

    Platform &m_platform;
    const RegisteredGame &m_game;
    RecentInstallations &m_recent;
    bool m_preparing = false; // what the disk and the processes say is being gathered
    QElapsedTimer m_steamAsked;
};
