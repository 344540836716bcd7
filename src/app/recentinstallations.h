// SPDX-License-Identifier: MIT
// "Recent installations": the executables the user confirmed, newest first, in a menu of their own
// that the window's and the picker's context menus lead to.
#pragma once

#include <QObject>

#include <memory>

class Platform;
class QMenu;
struct RegisteredGame;

class RecentInstallations : public QObject
{
    Q_OBJECT

public:
    RecentInstallations(Platform &platform, const RegisteredGame &game, QObject *parent);
    ~RecentInstallations() override;

    // Where the remembered installations are kept, beside Tarnwell.dat.
    static QString filePath(const Platform &platform);
    QMenu *menu() const { return m_menu.get(); }
    // The registered executable goes to the front; a list that cannot be saved is reported.
    void rememberRegistered();

signals:
    void chosen(const QString &exePath); // another remembered executable

private:
    void fill();

    Platform &m_platform;
    const RegisteredGame &m_game;
    std::unique_ptr<QMenu> m_menu; // a pop-up of its own, not one of the window's controls
};
