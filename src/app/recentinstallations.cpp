// SPDX-License-Identifier: MIT
#include "recentinstallations.h"

#include "registeredgame.h"

#include "files/toolfiles.h"
#include "platform/platform.h"
#include "registration/installations.h"

#include <QDir>
#include <QMenu>

RecentInstallations::RecentInstallations(Platform &platform, const RegisteredGame &game, QObject *parent)
    : QObject(parent)
    , m_platform(platform)
    , m_game(game)
    , m_menu(std::make_unique<QMenu>(QStringLiteral("Recent installations")))
{
    m_menu->setObjectName(QStringLiteral("RecentMenu"));
    connect(m_menu.get(), &QMenu::aboutToShow, this, &RecentInstallations::fill);
}

RecentInstallations::~RecentInstallations() = default;

QString RecentInstallations::filePath(const Platform &platform)
{
    return tarnwell::installationsFilePath(tarnwell::configFilePath(platform.programFolder()));
}

void RecentInstallations::fill()
{
    m_menu->clear();
    const tarnwell::KnownInstallations known = tarnwell::readInstallations(filePath(m_platform));
    for (const tarnwell::KnownInstallation &item : known.items) {
        QAction *action = m_menu->addAction(QDir::toNativeSeparators(item.exePath));
        action->setCheckable(true);
        action->setChecked(item.exePath == m_game.exePath);
        connect(action, &QAction::triggered, this, [this, exe = item.exePath] { emit chosen(exe); });
    }
    if (known.items.isEmpty())
        m_menu->addAction(known.error.isEmpty() ? QStringLiteral("None chosen yet") : known.error)->setEnabled(false);
}

void RecentInstallations::rememberRegistered()
{
    const QString path = filePath(m_platform);
    tarnwell::KnownInstallations known = tarnwell::readInstallations(path);
    tarnwell::remember(known.items, m_game.exePath);
    if (const QString error = tarnwell::writeInstallations(path, known.items); !error.isEmpty())
        m_platform.warn(QStringLiteral("Cannot save the list of installations to %1: %2.").arg(path, error));
}
