// SPDX-License-Identifier: MIT
#include "restorecommand.h"

#include "registeredgame.h"

#include "files/backups.h"
#include "platform/platform.h"
#include "settings/settingssession.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QShortcut>

namespace {

QString when(const tarnwell::Backup &backup)
{
    return backup.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

RestoreCommand::RestoreCommand(Platform &platform, const RegisteredGame &game,
                               const tarnwell::SettingsSession &settings, QWidget *window)
    : QObject(window)
    , m_platform(platform)
    , m_game(game)
    , m_settings(settings)
    , m_action(new QAction(QStringLiteral("Restore..."), window))
{
    // No new control: the window keeps its look. Ctrl+Shift+R is no key of a text box or list.
    m_action->setObjectName(QStringLiteral("RestoreAction"));
    m_action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    m_action->setShortcutContext(Qt::WindowShortcut);
    connect(m_action, &QAction::triggered, this, &RestoreCommand::run);
    addMenuKey(window);
}

void RestoreCommand::addMenuKey(QWidget *window)
{
    // The Menu key opens it through the system; Shift+F10, which Windows also knows, does so here too.
    auto *menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), window);
    connect(menuKey, &QShortcut::activated, window, [window] {
        QWidget *target = window->focusWidget() ? window->focusWidget() : window;
        QContextMenuEvent event(QContextMenuEvent::Keyboard, target->rect().center(),
                                target->mapToGlobal(target->rect().center()));
        QCoreApplication::sendEvent(target, &event); // not taken by the focused control, it reaches the window
    });
}

void RestoreCommand::offerBeside(QPushButton *apply, QPushButton *reload)
{
    for (QWidget *widget : {apply->window(), static_cast<QWidget *>(reload)}) {
        widget->addAction(m_action);
        widget->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    const QString restore = QStringLiteral("\nRestore... (%1, or the menu of a right-click, the Menu key or Shift+F10) "
                                           "puts back a copy kept before a write.")
                                .arg(shortcutText());
    apply->setToolTip(QStringLiteral("Writes the settings to the game's files, keeping a copy of each first.")
                      + restore);
    reload->setToolTip(QStringLiteral("Reads the settings again from the game's files.") + restore);
}

QString RestoreCommand::shortcutText() const
{
    return m_action->shortcut().toString(QKeySequence::NativeText);
}

void RestoreCommand::run()
{
    const QString notDone = QStringLiteral("Nothing was restored. Choose Restore... again once the game has exited.");
    if (m_waiting)
        return;
    m_waiting = true;
    whenWriteAllowed(m_platform, m_game, notDone, this, [this](bool allowed) {
        m_waiting = false;
        if (allowed)
            chooseAndRestore();
    });
}

void RestoreCommand::chooseAndRestore()
{
    const QString folder = m_platform.backupFolder();
    const tarnwell::BackupList list = tarnwell::listBackups(folder);
    const QList<tarnwell::Backup> &backups = list.backups;
    if (!list.problem.isEmpty()) {
        m_platform.warn(list.problem + QStringLiteral(" Nothing was restored."));
        return;
    }
    if (backups.isEmpty()) {
        m_platform.messageBox(QStringLiteral("There is no backup to restore yet. A copy of a settings file is kept "
                                             "in\n%1\neach time Apply replaces it or Del All Settings deletes it.")
                                  .arg(QDir::toNativeSeparators(folder)),
                              Platform::Information);
        return;
    }
    QStringList items;
    for (const tarnwell::Backup &backup : backups)
        items << QStringLiteral("%1   %2   %3   %4")
                     .arg(when(backup), QFileInfo(backup.original).fileName(), backup.game,
                          QDir::toNativeSeparators(backup.original));
    const int chosen = m_platform.choose(QStringLiteral("Restore"),
                                         QStringLiteral("Backups, newest first. Choose the one to put back:"), items,
                                         0);
    if (chosen < 0 || chosen >= backups.size())
        return;

    const tarnwell::Backup &backup = backups.at(chosen);
    const QString original = QDir::toNativeSeparators(backup.original);
    // A file deleted since (Del All Settings) has nothing to keep: it is made again.
    const QString now = QFileInfo(backup.original).isFile()
        ? QStringLiteral("What the file holds now is kept as a backup first")
        : QStringLiteral("The file is not there now: it is made again from the copy");
    QString question = QStringLiteral("Put back %1 as it was on %2?\n\n%3\n\n%4; then the settings are read again.")
                           .arg(QFileInfo(backup.original).fileName(), when(backup), original, now);
    const bool edited = m_settings.hasUnsavedEdits();
    if (edited)
        question += QStringLiteral("\n\nSettings changed in the window but not applied are replaced by what is read.");
    const Platform::MessageOptions safe = edited ? Platform::DefaultNo : Platform::OkOnly;
    if (m_platform.messageBox(question, Platform::YesNo | Platform::Question | safe,
                              QStringLiteral("Restore"))
        != Platform::Yes)
        return;
    const tarnwell::RestoreResult result = tarnwell::restoreBackup(folder, backup);
    if (!result.ok()) {
        m_platform.messageBox(original + QStringLiteral("\n\n") + result.problem, Platform::Critical);
        return;
    }
    if (!m_game.folder.isEmpty())
        emit restored();
    QString done = QStringLiteral("Restored %1 as it was on %2.").arg(original, when(backup));
    if (!result.replaced.file.isEmpty())
        done += QStringLiteral("\n\nWhat it held before is kept as\n%1")
                    .arg(QDir::toNativeSeparators(result.replaced.file));
    m_platform.messageBox(done, Platform::Information);
}
