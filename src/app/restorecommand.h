// SPDX-License-Identifier: MIT
// "Restore...": puts back a copy of a settings file kept before a write or a delete. It has no
// control of its own: the window's and Reload's context menus offer it, and Ctrl+Shift+R.
#pragma once

#include <QObject>

class Platform;
class QAction;
class QPushButton;
class QWidget;
struct RegisteredGame;
namespace tarnwell { class SettingsSession; }

class RestoreCommand : public QObject
{
    Q_OBJECT

public:
    RestoreCommand(Platform &platform, const RegisteredGame &game, const tarnwell::SettingsSession &settings,
                   QWidget *window);

    // In the context menus of the window and of `reload`; the tooltips of both buttons name it.
    void offerBeside(QPushButton *apply, QPushButton *reload);
    QString shortcutText() const; // as the user's system writes it
    QAction *action() const { return m_action; }
    void run();
    bool isWaiting() const { return m_waiting; } // to know whether the game runs

signals:
    void restored(); // a file was put back: the settings are to be read again

private:
    void addMenuKey(QWidget *window);
    void chooseAndRestore(); // once the game is known not to run, or the user wants it all the same

    Platform &m_platform;
    const RegisteredGame &m_game;
    const tarnwell::SettingsSession &m_settings;
    QAction *m_action = nullptr;
    bool m_waiting = false;
};
