// SPDX-License-Identifier: MIT
#include "profilecommands.h"

#include "firstpaint.h"

#include "registeredgame.h"

#include "files/background.h"
#include "files/pathcase.h"
#include "files/toolfiles.h"
#include "platform/platform.h"
#include "settings/profilevalues.h"
#include "settings/settingssession.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMenu>
#include <QPushButton>

using namespace tarnwell;

namespace {

const QString kFilter = QStringLiteral("Tarnwell profiles (*.json)");
const QString kSaveTitle = QStringLiteral("Save as profile");

struct Listing {
    ProfileList list;
    QStringList watchable; // the profiles' folder and the folders it is made in, those there now
};

struct Stored {
    bool existed = false; // not written: a profile of that name is there, and no replace was asked for
    QString problem;
    QString path;
};

// The settings that the files read hold, in the catalogue's order.
QStringList heldSettings(const SettingsSession &settings)
{
    const ProfileValues values = valuesInFiles(settings);
    QStringList held;
    for (const QString &name : settingNames()) {
        if (values.contains(name))
            held << name;
    }
    return held;
}

} // namespace

ProfileCommands::ProfileCommands(Platform &platform, const RegisteredGame &game, const SettingsSession &settings,
                                 SettingsControls &controls, QWidget *window)
    : QObject(window)
    , m_platform(platform)
    , m_game(game)
    , m_settings(settings)
    , m_controls(controls)
    , m_menu(std::make_unique<QMenu>(QStringLiteral("Profiles")))
    , m_watcher(new QFileSystemWatcher(this))
{
    m_menu->setObjectName(QStringLiteral("ProfilesMenu"));
    struct Command {
        const char *name;
        const char *text;
        void (ProfileCommands::*run)();
    };
    const Command commands[] = {{"SaveAsProfile", "Save as profile...", &ProfileCommands::saveAs},
                                {"AsFirstFound", "As first found", &ProfileCommands::applyFirstFound},
                                {"ImportProfile", "Import profile...", &ProfileCommands::importChosen},
                                {"ExportProfile", "Export profile...", &ProfileCommands::exportOne},
                                {"DeleteProfile", "Delete profile...", &ProfileCommands::deleteOne}};
    for (const Command &command : commands) {
        auto *action = new QAction(QString::fromLatin1(command.text), this);
        action->setObjectName(QString::fromLatin1(command.name) + QStringLiteral("Action"));
        connect(action, &QAction::triggered, this, command.run);
        m_commands << action;
    }
    // Profiles written by another program, or by hand, show up as they come.
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &ProfileCommands::refresh);
    fillMenu();
    afterFirstPaint(window, this, [this] { refresh(); }); // the menu is not seen before the window is
}

ProfileCommands::~ProfileCommands() = default;

QString ProfileCommands::folder() const
{
    return profilesFolder(m_platform.toolFolder());
}

void ProfileCommands::offerOn(QPushButton *apply, QAction *leading, const QList<QAction *> &applyFirst)
{
    m_leading = leading;
    fillMenu();
    // Apply's own menu (a right-click, the Menu key, Shift+F10); the window's leads to it too.
    apply->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(apply, &QWidget::customContextMenuRequested, this, [this, apply, applyFirst](const QPoint &at) {
        QMenu menu(apply);
        menu.addActions(applyFirst);
        menu.addSeparator();
        menu.addActions(m_menu->actions());
        menu.exec(apply->mapToGlobal(at));
    });
    apply->window()->addAction(m_menu->menuAction());
    if (leading)
        apply->window()->addAction(leading);
}

void ProfileCommands::refresh()
{
    const QString profiles = folder();
    const QString tool = m_platform.toolFolder();
    // The folder may lie on a disk that answers slowly: listed beside the window. Where it does not
    // exist yet, the folders it will be made in are watched instead.
    runBeside<Listing>(
        this,
        [profiles, tool](Job &) {
            Listing listing{listProfiles(profiles), {}};
            for (const QString &folder : {profiles, tool, QFileInfo(tool).path()}) {
                if (QFileInfo(folder).isDir())
                    listing.watchable << folder;
            }
            return listing;
        },
        [this](const Listing &listing) {
            m_names = listing.list.names;
            const QStringList watched = m_watcher->directories();
            bool newlyWatched = false;
            for (const QString &folder : listing.watchable) {
                if (!watched.contains(folder))
                    newlyWatched = m_watcher->addPath(folder) || newlyWatched;
            }
            fillMenu();
            emit listed();
            // A change made between the listing and the watch would go unseen: listed once more.
            if (newlyWatched)
                refresh();
        });
}

void ProfileCommands::fillMenu()
{
    m_menu->clear();
    qDeleteAll(m_profileActions);
    m_profileActions.clear();
    if (m_leading) {
        m_menu->addAction(m_leading);
        m_menu->addSeparator();
    }
    m_menu->addAction(m_commands[0]);
    m_menu->addSeparator();
    for (const QString &name : m_names) {
        auto *action = new QAction(name, this);
        action->setObjectName(QStringLiteral("ProfileAction"));
        connect(action, &QAction::triggered, this, [this, name] { applyProfile(name); });
        m_profileActions << action;
    }
    m_menu->addActions(m_profileActions);
    if (m_names.isEmpty())
        m_menu->addAction(QStringLiteral("No profiles yet"))->setEnabled(false);
    m_menu->addAction(m_commands[1]);
    m_menu->addSeparator();
    m_menu->addActions({m_commands[2], m_commands[3], m_commands[4]});
    m_commands[3]->setEnabled(!m_names.isEmpty());
    m_commands[4]->setEnabled(!m_names.isEmpty());
}

void ProfileCommands::settingsRead()
{
    if (m_game.folder.isEmpty())
        return;
    const ProfileValues values = valuesInFiles(m_settings);
    if (values.isEmpty())
        return;
    const QString tool = m_platform.toolFolder();
    const QString game = m_game.folder;
    runBeside<QString>(
        this, [tool, game, values](Job &) { return keepFirstFound(tool, game, values); },
        [this, game](const QString &problem) {
            if (m_watcher->directories().isEmpty())
                refresh(); // the tool's folder may have been made just now
            if (problem.isEmpty() || problem == m_firstFoundProblem)
                return;
            m_firstFoundProblem = problem;
            m_platform.warn(QStringLiteral("The values first found in %1 cannot be kept, so \"As first found\" "
                                           "cannot offer them:\n%2")
                                .arg(QDir::toNativeSeparators(game), problem));
        });
}

QString ProfileCommands::chooseName()
{
    QString name;
    if (!m_platform.askText(kSaveTitle, QStringLiteral("Name of the profile:"), name))
        return {};
    name = name.trimmed();
    if (const QString problem = profileNameProblem(name); !problem.isEmpty()) {
        m_platform.warn(QStringLiteral("\"%1\" cannot name a profile: it %2.").arg(name, problem));
        return {};
    }
    return name;
}

QStringList ProfileCommands::chosenSettings(const QStringList &held)
{
    const int which = m_platform.choose(kSaveTitle, QStringLiteral("Which settings should the profile keep?"),
                                        {QStringLiteral("All settings"),
                                         QStringLiteral("The graphics settings (TKGRAPHICSSETTINGS.MXML)"),
                                         QStringLiteral("The user settings (GCUSERSETTINGSDATA.MXML)"),
                                         QStringLiteral("A chosen few...")},
                                        0); // all, unless the player says otherwise
    QStringList chosen;
    if (which == 0)
        return held;
    if (which == 1 || which == 2) {
        const QStringList inFile = settingNames(which == 1 ? SettingsFile::Graphics : SettingsFile::User);
        for (const QString &name : held) {
            if (inFile.contains(name))
                chosen << name;
        }
    } else if (which == 3) {
        QStringList items;
        for (const QString &name : held)
            items << QStringLiteral("%1 (%2)").arg(name, m_controls.settingName(catalogue()[rowOfSetting(name)].control));
        for (const int index : m_platform.chooseSeveral(kSaveTitle, QStringLiteral("Settings to keep:"), items))
            chosen << held.value(index);
    }
    return chosen;
}

void ProfileCommands::saveAs()
{
    const QStringList held = heldSettings(m_settings);
    if (held.isEmpty()) {
        m_platform.messageBox(QStringLiteral("No settings file has been read, so there is nothing to keep in a profile."),
                              Platform::Information, kSaveTitle);
        return;
    }
    const QString name = chooseName();
    const QStringList chosen = name.isEmpty() ? QStringList() : chosenSettings(held);
    if (chosen.isEmpty())
        return;
    const Profile profile{name, takeValues(m_controls, chosen, m_settings.readValues())};
    const ValueCheck check = checkValues(profile.values, m_settings.readValues());
    if (!check.refused.isEmpty()) {
        m_platform.warn(QStringLiteral("These values cannot be kept in a profile:\n\n%1\n\nThe profile was not saved.")
                            .arg(check.refused.join(QLatin1Char('\n'))));
        return;
    }
    store(profile, false);
}

void ProfileCommands::store(const Profile &profile, bool replace)
{
    const QString profiles = folder();
    runBeside<Stored>(
        this,
        [profiles, profile, replace](Job &) {
            const QString path = profilePath(profiles, profile.name);
            if (!replace && fileExists(path))
                return Stored{true, {}, path};
            return Stored{false, storeProfile(profiles, profile), path};
        },
        [this, profile](const Stored &stored) {
            if (stored.existed) {
                const QString question = QStringLiteral("A profile named \"%1\" already exists:\n%2\n\nReplace it?")
                                             .arg(profile.name, stored.path);
                if (m_platform.messageBox(question, Platform::YesNo | Platform::Question | Platform::DefaultNo,
                                          kSaveTitle) == Platform::Yes)
                    store(profile, true);
                return;
            }
            if (!stored.problem.isEmpty())
                m_platform.warn(stored.problem);
            refresh();
        });
}

void ProfileCommands::applyProfile(const QString &name)
{
    const QString profiles = folder();
    runBeside<ProfileFile>(
        this, [profiles, name](Job &) { return loadProfile(profiles, name); },
        [this](const ProfileFile &file) { use(file); });
}

void ProfileCommands::applyFirstFound()
{
    if (m_game.folder.isEmpty()) {
        m_platform.warn(m_game.noFolderReason() + QStringLiteral(", so there are no values first found."));
        return;
    }
    const QString path = firstFoundPath(m_platform.toolFolder(), m_game.folder);
    const QString game = QDir::toNativeSeparators(m_game.folder);
    runBeside<ProfileFile>(
        this, [path](Job &) { return readProfileFile(path); },
        [this, game](ProfileFile file) {
            if (file.status == ProfileFile::Missing)
                file.problem = QStringLiteral("No values have been kept for %1 yet.").arg(game);
            use(file);
        });
}

void ProfileCommands::use(const ProfileFile &file)
{
    if (file.status != ProfileFile::Read) {
        m_platform.warn(file.problem);
        return;
    }
    const Profile &profile = file.profile;
    const ValueCheck check = checkValues(profile.values, m_settings.readValues());
    if (!check.refused.isEmpty()) {
        m_platform.warn(QStringLiteral("The profile \"%1\" holds values that cannot be used:\n\n%2\n\nNothing was "
                                       "changed.")
                            .arg(profile.name, check.refused.join(QLatin1Char('\n'))));
        return;
    }
    // Edits, as if typed: nothing is written until Apply, and the markers show what changed.
    putValues(profile.values, m_controls);
    if (!check.unknown.isEmpty())
        m_platform.warn(QStringLiteral("The profile \"%1\" holds settings that this Tarnwell does not know: %2. They "
                                       "stay in its file and were left out.")
                            .arg(profile.name, check.unknown.join(QStringLiteral(", "))));
}

bool ProfileCommands::offerDrop(const QString &path)
{
    if (!path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive))
        return false;
    if (m_platform.messageBox(QStringLiteral("Import the profile in\n%1?").arg(path), Platform::YesNo | Platform::Question,
                              QStringLiteral("Import profile"))
        == Platform::Yes)
        importFrom(path);
    return true;
}

void ProfileCommands::importChosen()
{
    const QString path = m_platform.chooseFile(QStringLiteral("Import profile"), Platform::FileUse::Open,
                                               QDir::homePath(), kFilter);
    if (!path.isEmpty())
        importFrom(path);
}

void ProfileCommands::importFrom(const QString &path)
{
    runBeside<ProfileFile>(
        this, [path](Job &) { return readProfileFile(path); },
        [this](const ProfileFile &file) {
            if (file.status != ProfileFile::Read) {
                m_platform.warn(file.problem);
                return;
            }
            const Profile &profile = file.profile;
            QString problem = profileNameProblem(profile.name);
            if (!problem.isEmpty())
                problem = QStringLiteral("%1 names its profile \"%2\", which cannot name a profile: it %3.")
                              .arg(file.path, profile.name, problem);
            // No file of the game's stands behind these values: each must be one its setting takes.
            else if (const ValueCheck check = checkValues(profile.values, {}); !check.refused.isEmpty())
                problem = QStringLiteral("%1 holds values that cannot be used:\n\n%2")
                              .arg(file.path, check.refused.join(QLatin1Char('\n')));
            if (!problem.isEmpty()) {
                m_platform.warn(problem + QStringLiteral("\n\nThe profile was not imported."));
                return;
            }
            store(profile, false);
        });
}

QString ProfileCommands::pickProfile(const QString &title, const QString &prompt)
{
    if (m_names.isEmpty())
        return {};
    const int chosen = m_platform.choose(title, prompt, m_names, 0);
    return m_names.value(chosen);
}

void ProfileCommands::exportOne()
{
    const QString name = pickProfile(QStringLiteral("Export profile"), QStringLiteral("Profile to export:"));
    const QString target = name.isEmpty() ? QString()
                                          : m_platform.chooseFile(QStringLiteral("Export profile"), Platform::FileUse::Save,
                                                                  QDir::home().filePath(name + QStringLiteral(".json")),
                                                                  kFilter);
    if (target.isEmpty())
        return;
    const QString profiles = folder();
    runBeside<QString>(
        this,
        [profiles, name, target](Job &) {
            const ProfileFile file = loadProfile(profiles, name);
            return file.status == ProfileFile::Read ? exportProfile(target, file.profile) : file.problem;
        },
        [this, name, target](const QString &problem) {
            if (!problem.isEmpty())
                m_platform.warn(problem);
            else
                m_platform.messageBox(QStringLiteral("The profile \"%1\" was exported to\n%2").arg(name, target),
                                      Platform::Information, QStringLiteral("Export profile"));
        });
}

void ProfileCommands::deleteOne()
{
    const QString name = pickProfile(QStringLiteral("Delete profile"), QStringLiteral("Profile to delete:"));
    if (name.isEmpty())
        return;
    const QString profiles = folder();
    const QString question = QStringLiteral("Delete the profile \"%1\"?\n\n%2")
                                 .arg(name, QDir::toNativeSeparators(profiles + QLatin1Char('/') + name + QStringLiteral(".json")));
    if (m_platform.messageBox(question, Platform::YesNo | Platform::Question | Platform::DefaultNo,
                              QStringLiteral("Delete profile"))
        != Platform::Yes)
        return;
    runBeside<QString>(
        this, [profiles, name](Job &) { return deleteProfile(profiles, name); },
        [this](const QString &problem) {
            if (!problem.isEmpty())
                m_platform.warn(problem);
            refresh();
        });
}
