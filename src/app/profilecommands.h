// SPDX-License-Identifier: MIT
// Profiles in the window: a menu on "Apply" and in the window's context menu that saves the shown
// values as a profile, puts a profile's values (or those first found) into the controls as edits,
// and imports, exports and deletes profiles. Files are read and written beside the window.
#pragma once

#include "settings/profilestore.h"

#include <QObject>

#include <memory>

class Platform;
class QAction;
class QFileSystemWatcher;
class QMenu;
class QPushButton;
class QWidget;
struct RegisteredGame;
namespace tarnwell {
class SettingsControls;
class SettingsSession;
} // namespace tarnwell

class ProfileCommands : public QObject
{
    Q_OBJECT

public:
    ProfileCommands(Platform &platform, const RegisteredGame &game, const tarnwell::SettingsSession &settings,
                    tarnwell::SettingsControls &controls, QWidget *window);
    ~ProfileCommands() override;

    // The menu, led by `leading`, in the window's; Apply's own (a right-click, Shift+F10) puts
    // `applyFirst` above it, as the window's menu has those too.
    void offerOn(QPushButton *apply, QAction *leading, const QList<QAction *> &applyFirst);
    QMenu *menu() const { return m_menu.get(); }
    QStringList names() const { return m_names; } // as last listed
    // After each read: the values of settings read for the first time in this game folder are kept.
    void settingsRead();
    // A file dropped on the window: a profile is offered for import (true), anything else is not.
    bool offerDrop(const QString &path);

    void saveAs();
    void applyProfile(const QString &name);
    void applyFirstFound();
    void importChosen(); // a file chosen in a dialog
    void importFrom(const QString &path);
    void exportOne();
    void deleteOne();

signals:
    void listed(); // the profiles' names have been read again

private:
    QString folder() const;
    void refresh();
    void fillMenu();
    void use(const tarnwell::ProfileFile &file);
    void store(const tarnwell::Profile &profile, bool replace);
    QString chooseName();
    QStringList chosenSettings(const QStringList &held);
    QString pickProfile(const QString &title, const QString &prompt);

    Platform &m_platform;
    const RegisteredGame &m_game;
    const tarnwell::SettingsSession &m_settings;
    tarnwell::SettingsControls &m_controls;
    std::unique_ptr<QMenu> m_menu; // a pop-up of its own, not one of the window's controls
    QAction *m_leading = nullptr;
    QList<QAction *> m_commands; // Save as..., As first found, Import..., Export..., Delete...
    QList<QAction *> m_profileActions;
    QStringList m_names;
    QFileSystemWatcher *m_watcher;
    QString m_firstFoundProblem; // said once per game folder
};
