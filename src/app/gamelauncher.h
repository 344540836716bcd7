// SPDX-License-Identifier: MIT
// "Launch", and "Launch with...", which chooses how Launch starts the registered game.
#pragma once

#include <QObject>

class Platform;
struct RegisteredGame;
namespace tarnwell { struct Command; }

class GameLauncher : public QObject
{
    Q_OBJECT

public:
    GameLauncher(Platform &platform, const RegisteredGame &game, QObject *parent);

    // Starts the game the way chosen for it; a game that cannot start, or already runs, is reported.
    void launch();
    // Asks how Launch is to start the game, and keeps the answer with the remembered installations.
    void chooseWay();

private:
    // The launch command of the registered executable as chosen with "Launch with...".
    bool launchChosenWay(const QString &shortPath);
    void start(const tarnwell::Command &command); // a failed start is reported

    Platform &m_platform;
    const RegisteredGame &m_game;
};
