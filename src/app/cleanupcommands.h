// SPDX-License-Identifier: MIT
// "Del ShaderCache" and "Del All Settings ": each asks first, and says what it did.
#pragma once

#include <QObject>

class Platform;
struct RegisteredGame;

class CleanupCommands : public QObject
{
    Q_OBJECT

public:
    CleanupCommands(Platform &platform, const RegisteredGame &game, QObject *parent);

    // Empties the game's shader cache folder, whose path goes to `shaderCachePath` once the game
    // folder is known.
    void deleteShaderCache(QString &shaderCachePath);
    // Deletes the graphics settings file at `path` after keeping a copy, which `restoreShortcut` puts back.
    void deleteGraphicsSettings(const QString &path, const QString &restoreShortcut);

signals:
    void graphicsSettingsDeleted(); // the window no longer shows what a file holds

private:
    Platform &m_platform;
    const RegisteredGame &m_game;
};
