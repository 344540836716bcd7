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
    if (m_saving)
        return; // what the save wrote comes back with it
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
        action->setChecked(tarnwell::samePathText(item.exePath, m_game.exePath));
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
    save([choice](tarnwell::KnownInstallation &registered) { registered.launch = choice; });
}

void RecentInstallations::save(Change change)
{
    m_saves.append({m_game.exePath, std::move(change)});
    if (!m_saving)
        saveNext();
}

void RecentInstallations::saveNext()
{
    if (m_saves.isEmpty())
        return;
    const std::pair<QString, Change> next = m_saves.takeFirst();
    const QString &exe = next.first;
    const Change &change = next.second;
    // A read begun before this write would bring back the list as it was.
    if (m_reading)
        m_reading->cancel();
    m_reading.reset();
    struct Saved {
        tarnwell::KnownInstallations known;
        QString readError;
        tarnwell::ListWrite written;
    };
    const QString path = filePath(m_platform);
    m_saving = tarnwell::runBeside<Saved>(
        this,
        [path, exe, change](tarnwell::Job &) {
            Saved saved;
            saved.known = tarnwell::readInstallations(path);
            saved.readError = saved.known.error;
            tarnwell::remember(saved.known.items, exe);
            change(saved.known.items.first());
            saved.written = tarnwell::writeInstallations(path, saved.known.items);
            return saved;
        },
        [this, path](Saved saved) {
            m_saving.reset();
            if (!saved.written.keptAs.isEmpty())
                m_platform.warn(QStringLiteral("%1 could not be read (%2), so it was kept as\n%3\nbefore a new list "
                                               "was written there.")
                                    .arg(path, saved.readError, saved.written.keptAs));
            if (!saved.written.error.isEmpty()) {
                m_platform.warn(
                    QStringLiteral("Cannot save the list of installations to %1: %2.").arg(path, saved.written.error));
            } else {
                saved.known.error.clear();
                saved.known.unreadable = false;
                m_known = std::move(saved.known);
            }
            watch();
            saveNext();
        });
}
