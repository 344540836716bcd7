// SPDX-License-Identifier: MIT
// "Recent installations": the executables the user confirmed, newest first, in a menu of their own
// that the window's and the picker's context menus lead to. The list is read beside the window and
// kept fresh, so that opening the menu never waits for a disk.
#pragma once

#include "files/background.h"
#include "registration/installations.h"

#include <QObject>

#include <functional>
#include <memory>

class Platform;
class QFileSystemWatcher;
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
    // The list as last read or written.
    const tarnwell::KnownInstallations &known() const { return m_known; }
    bool isReading() const { return m_reading != nullptr; }
    bool isSaving() const { return m_saving != nullptr; }
    // The registered executable goes to the front; a list that cannot be saved is reported.
    void rememberRegistered();
    // How Launch starts the registered executable, kept with it.
    void keepLaunchChoice(const tarnwell::LaunchChoice &choice);

signals:
    void chosen(const QString &exePath); // another remembered executable

private:
    void read(); // beside the window; the menu shows what was read last until then
    using Change = std::function<void(tarnwell::KnownInstallation &registered)>;
    // Writes the list with the registered executable first, changed by `change`, beside the window:
    // finding the entries that name the same file looks at the disks they are on. A list there that
    // cannot be read is kept aside first, and the user told so. One save at a time, in order.
    void save(Change change);
    void saveNext();
    void watch();
    void fill();

    Platform &m_platform;
    const RegisteredGame &m_game;
    std::unique_ptr<QMenu> m_menu; // a pop-up of its own, not one of the window's controls
    tarnwell::KnownInstallations m_known;
    tarnwell::JobHandle m_reading;
    tarnwell::JobHandle m_saving;
    QList<std::pair<QString, Change>> m_saves; // the executable and the change, not yet begun
    QFileSystemWatcher *m_watch = nullptr; // on the file, or on its folder while there is none
};
