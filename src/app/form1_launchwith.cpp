// SPDX-License-Identifier: MIT
// Several installations: the ones the user confirmed, switching between them, and how each is launched.
#include "form1.h"

#include "files/toolfiles.h"
#include "maintenance/command.h"
#include "maintenance/launchline.h"
#include "maintenance/steamlaunch.h"
#include "platform/platform.h"
#include "registration/installations.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

namespace {
const QStringList kLaunchWays{QStringLiteral("The default: the game itself, or through Steam where it must"),
                              QStringLiteral("Steam"), QStringLiteral("A command line...")};
} // namespace

void Form1::createInstallationMenus()
{
    m_recentMenu = std::make_unique<QMenu>(QStringLiteral("Recent installations"));
    m_recentMenu->setObjectName(QStringLiteral("RecentMenu"));
    connect(m_recentMenu.get(), &QMenu::aboutToShow, this, &Form1::fillRecentMenu);
    // The window's menu and the picker's, where the caption click leads.
    for (QWidget *widget : {static_cast<QWidget *>(this), static_cast<QWidget *>(Dir1), static_cast<QWidget *>(File1)}) {
        widget->addAction(m_recentMenu->menuAction());
        widget->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    auto *launchWith = new QAction(QStringLiteral("Launch with..."), this);
    connect(launchWith, &QAction::triggered, this, &Form1::LaunchWith);
    command(2)->addAction(launchWith);
    command(2)->setContextMenuPolicy(Qt::ActionsContextMenu);
}

QString Form1::installationsPath() const
{
    return tarnwell::installationsFilePath(tarnwell::configFilePath(m_platform.programFolder()));
}

void Form1::fillRecentMenu()
{
    m_recentMenu->clear();
    const tarnwell::KnownInstallations known = tarnwell::readInstallations(installationsPath());
    for (const tarnwell::KnownInstallation &item : known.items) {
        QAction *action = m_recentMenu->addAction(QDir::toNativeSeparators(item.exePath));
        action->setCheckable(true);
        action->setChecked(item.exePath == GameExePath);
        connect(action, &QAction::triggered, this, [this, exe = item.exePath] { SwitchInstallation(exe); });
    }
    if (known.items.isEmpty())
        m_recentMenu->addAction(known.error.isEmpty() ? QStringLiteral("None chosen yet") : known.error)->setEnabled(false);
}

void Form1::rememberExecutable()
{
    const QString path = installationsPath();
    tarnwell::KnownInstallations known = tarnwell::readInstallations(path);
    tarnwell::remember(known.items, GameExePath);
    if (const QString error = tarnwell::writeInstallations(path, known.items); !error.isEmpty())
        warn(QStringLiteral("Cannot save the list of installations to %1: %2.").arg(path, error));
}

void Form1::SwitchInstallation(const QString &exePath)
{
    if (exePath == GameExePath)
        return;
    if (hasUnsavedEdits()
        && m_platform.question(QStringLiteral("Some settings were changed in the window but not written to the game's "
                                              "files. Switching to another installation replaces them."),
                               {QStringLiteral("Discard and switch"), QStringLiteral("Cancel")},
                               QStringLiteral("Switch installation?"))
            != 0)
        return;
    registerExecutable(exePath, QFileInfo(exePath).fileName());
}

void Form1::LaunchWith()
{
    if (GameExePath.isEmpty()) {
        warn(QStringLiteral("No Quillvane QVX.EXE is registered yet, so there is nothing to launch."));
        return;
    }
    const QString path = installationsPath();
    tarnwell::KnownInstallations known = tarnwell::readInstallations(path);
    tarnwell::remember(known.items, GameExePath); // an executable registered before lists were kept
    tarnwell::LaunchChoice &choice = known.items.first().launch;
    const int way = m_platform.choose(QStringLiteral("Launch with"),
                                      QStringLiteral("How Launch starts\n%1").arg(GameExePath), kLaunchWays);
    if (way < 0)
        return;
    QString line = choice.commandLine.isEmpty() ? QStringLiteral("%command%") : choice.commandLine;
    if (way == tarnwell::LaunchChoice::CommandLine
        && !m_platform.askText(QStringLiteral("Launch with"),
                               QStringLiteral("Command line; %command% stands for the game's executable, and "
                                              "NAME=value words before the program set environment variables:"),
                               line))
        return;
    choice.kind = tarnwell::LaunchChoice::Kind(way);
    if (way == tarnwell::LaunchChoice::CommandLine)
        choice.commandLine = line;
    if (const QString error = tarnwell::writeInstallations(path, known.items); !error.isEmpty())
        warn(QStringLiteral("Cannot save the list of installations to %1: %2.").arg(path, error));
}

bool Form1::launchChosenWay(const QString &shortPath)
{
    const tarnwell::LaunchChoice choice =
        tarnwell::launchChoice(tarnwell::readInstallations(installationsPath()).items, GameExePath);
    switch (choice.kind) {
    case tarnwell::LaunchChoice::Default:
        return false;
    case tarnwell::LaunchChoice::Steam:
        if (const QString id = tarnwell::steamAppId(GameFolder); !id.isEmpty())
            startGame(tarnwell::openAddressCommand(QStringLiteral("steam://rungameid/") + id));
        else
            warn(QStringLiteral("%1\n\nis in no Steam library that names it, so Steam cannot start it. Choose another "
                                "way with Launch with... (right-click Launch).")
                     .arg(GameExePath));
        return true;
    case tarnwell::LaunchChoice::CommandLine:
        break;
    }
    const tarnwell::LaunchLine launch = tarnwell::launchLine(choice.commandLine, shortPath);
    if (!launch.problem.isEmpty()) {
        warn(QStringLiteral("Quillvane could not be started with\n%1\n\n%2.").arg(choice.commandLine, launch.problem));
        return true;
    }
    startGame(tarnwell::programCommand(launch.program, launch.arguments, launch.environment,
                                       QFileInfo(shortPath).absolutePath(), choice.commandLine));
    return true;
}
