// SPDX-License-Identifier: MIT
#include "recentinstallations.h"

#include "firstpaint.h"
#include "registeredgame.h"

#include "files/toolfiles.h"
#include "platform/platform.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMenu>
#include <QWidget>

RecentInstallations::RecentInstallations(Platform &platform, const RegisteredGame &game, QObject *parent)
    : QObject(parent)
    , m_platform(platform)
    , m_game(game)
    , m_menu(std::make_unique<QMenu>(QStringLiteral("Recent installations")))
    , m_watch(new QFileSystemWatcher(this))
{
    m_menu->setObjectName(QStringLiteral("RecentMenu"));
    connect(m_menu.get(), &QMenu::aboutToShow, this, &RecentInstallations::fill);
    // Another copy of the tool, or the user, may change the list meanwhile.
    connect(m_watch, &QFileSystemWatcher::fileChanged, this, &RecentInstallations::read);
    connect(m_watch, &QFileSystemWatcher::directoryChanged, this, &RecentInstallations::read);
    if (auto *window = qobject_cast<QWidget *>(parent))
        afterFirstPaint(window, this, [this] { read(); }); // nothing of it is seen before the window is
    else
        read();
}

RecentInstallations::~RecentInstallations() = default;

QString RecentInstallations::filePath(const Platform &platform)
{
    return tarnwell::installationsFilePath(tarnwell::configFilePath(platform.programFolder()));
}

void RecentInstallations::read()
{
    if (m_reading)
        m_reading->cancel();
    const QString path = filePath(m_platform);
    m_reading = tarnwell::runBeside<tarnwell::KnownInstallations>(
        this, [path](tarnwell::Job &) { return tarnwell::readInstallations(path); },
        [this](tarnwell::KnownInstallations known) {
            m_reading.reset();
            m_known = std::move(known);
            watch();
        });
}

void RecentInstallations::watch()
{
    const QString file = filePath(m_platform), folder = QFileInfo(file).absolutePath();
    const QString wanted = QFileInfo::exists(file) ? file : folder;
    const QStringList watched = m_watch->files() + m_watch->directories();
    if (watched == QStringList{wanted})
        return;
    if (!watched.isEmpty())
        m_watch->removePaths(watched);
    if (QFileInfo::exists(wanted))
        m_watch->addPath(wanted);
}

void RecentInstallations::fill()
{
    m_menu->clear();
    for (const tarnwell::KnownInstallation &item : m_known.items) {
        QAction *action = m_menu->addAction(QDir::toNativeSeparators(item.exePath));
        action->setCheckable(true);
        action->setChecked(item.exePath == m_game.exePath);
        connect(action, &QAction::triggered, this, [this, exe = item.exePath] { emit chosen(exe); });
    }
    if (m_known.items.isEmpty())
        m_menu->addAction(m_known.error.isEmpty() ? QStringLiteral("None chosen yet") : m_known.error)->setEnabled(false);
}

void RecentInstallations::rememberRegistered()
{
    save([](tarnwell::KnownInstallation &) {});
}

void RecentInstallations::keepLaunchChoice(const tarnwell::LaunchChoice &choice)
{
    save([&choice](tarnwell::KnownInstallation &registered) { registered.launch = choice; });
}

void RecentInstallations::save(const std::function<void(tarnwell::KnownInstallation &registered)> &change)
{
    const QString path = filePath(m_platform);
    tarnwell::KnownInstallations known = tarnwell::readInstallations(path);
    tarnwell::remember(known.items, m_game.exePath);
    change(known.items.first());
    const tarnwell::ListWrite written = tarnwell::writeInstallations(path, known.items);
    if (!written.keptAs.isEmpty())
        m_platform.warn(QStringLiteral("%1 could not be read (%2), so it was kept as\n%3\nbefore a new list was "
                                       "written there.")
                            .arg(path, known.error, written.keptAs));
    if (!written.error.isEmpty()) {
        m_platform.warn(QStringLiteral("Cannot save the list of installations to %1: %2.").arg(path, written.error));
        return;
    }
    // A read begun before this write would bring back the list as it was.
    if (m_reading)
        m_reading->cancel();
    m_reading.reset();
    known.error.clear();
    known.unreadable = false;
    m_known = known;
    watch();
}
