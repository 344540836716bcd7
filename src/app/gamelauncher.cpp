// SPDX-License-Identifier: MIT
#include "gamelauncher.h"

#include "recentinstallations.h"
#include "registeredgame.h"

#include "files/background.h"
#include "files/pathcase.h"
#include "maintenance/command.h"
#include "maintenance/gameprocess.h"
#include "maintenance/launchline.h"
#include "maintenance/steamlaunch.h"
#include "platform/platform.h"
#include "registration/installations.h"
#include "registration/shortpath.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

namespace {
const QStringList kLaunchWays{QStringLiteral("The default: the game itself, or through Steam where it must"),
                              QStringLiteral("Steam"), QStringLiteral("A command line...")};
const QString kSteamAsked = QStringLiteral("Steam was asked to start the game. Launch with...: right-click Launch.");
} // namespace

GameLauncher::GameLauncher(Platform &platform, const RegisteredGame &game, RecentInstallations &recent,
                           QObject *parent)
    : QObject(parent)
    , m_platform(platform)
    , m_game(game)
    , m_recent(recent)
{
}

// Gathered beside the window: a disk or a process's folder may be slow to answer.
struct GameLauncher::Facts {
    QString shortPath; // empty: the executable is gone
    bool running = false;
    tarnwell::LaunchChoice choice;
    QString choiceForeign;   // why the list that holds the choice could have been written by another user
    QString steamId;         // the choice is Steam
    tarnwell::LaunchPlan plan; // the choice is the default
};

namespace {

GameLauncher::Facts gather(const QString &exePath, const QString &gameFolder, const QString &installations)
{
    GameLauncher::Facts facts;
    const QString shortPath = tarnwell::shortPath(exePath);
    if (shortPath.isEmpty() || !tarnwell::fileExists(shortPath))
        return facts;
    facts.shortPath = shortPath;
    facts.running = tarnwell::isGameRunning(exePath);
    const tarnwell::KnownInstallations known = tarnwell::readInstallations(installations);
    facts.choice = tarnwell::launchChoice(known.items, exePath);
    facts.choiceForeign = known.foreign.isEmpty() ? QString() : installations + QStringLiteral(": ") + known.foreign;
    if (facts.choice.kind == tarnwell::LaunchChoice::Steam)
        facts.steamId = tarnwell::steamAppId(gameFolder);
    else if (facts.choice.kind == tarnwell::LaunchChoice::Default)
        facts.plan = tarnwell::planLaunch(shortPath, gameFolder);
    return facts;
}

} // namespace

void GameLauncher::launch()
{
    // Starting a missing or empty path would at best do nothing and at worst open something else.
    if (m_game.exePath.isEmpty()) {
        m_platform.warn(QStringLiteral("No Quillvane QVX.EXE is registered yet, so there is nothing to launch."));
        return;
    }
    if (m_preparing)
        return; // a second press while the first is still looking
    // Steam was asked a moment ago: asking again would only start a second request.
    if (m_steamAsked.isValid() && !m_steamAsked.hasExpired(kSteamNoteMs)) {
        emit note(QStringLiteral("Steam was already asked to start the game."), kSteamNoteMs);
        return;
    }
    m_preparing = true;
    const QString exe = m_game.exePath, folder = m_game.folder, installations = RecentInstallations::filePath(m_platform);
    const tarnwell::JobHandle job = tarnwell::runBeside<Facts>(
        this, [exe, folder, installations](tarnwell::Job &) { return gather(exe, folder, installations); },
        [this, exe](Facts facts) {
            m_preparing = false;
            if (exe == m_game.exePath)
                launchWith(facts);
        });
    // A game folder on a disk that does not answer: the user hears of it, and the press is given up
    // rather than starting the game at some later moment.
    QTimer::singleShot(kPreparePatienceMs, this, [this, job, exe] {
        if (!job->running() || job->cancelled())
            return;
        job->cancel();
        m_preparing = false;
        m_platform.warn(QStringLiteral("Quillvane was not started: the disk of\n%1\ndid not answer within %2 seconds. "
                                       "It may be a network share that has stalled.")
                            .arg(exe)
                            .arg(kPreparePatienceMs / 1000));
    });
}

void GameLauncher::launchWith(const Facts &facts)
{
    if (facts.shortPath.isEmpty()) {
        m_platform.warn(QStringLiteral("Quillvane QVX.EXE is no longer there:\n%1").arg(m_game.exePath));
        return;
    }
    if (facts.running) {
        m_platform.messageBox(QStringLiteral("Quillvane is already running, so it was not started again."),
                              Platform::Information);
        return;
    }
    if (const QString why = distrusted(facts); !why.isEmpty()) {
        m_platform.warn(why);
        return;
    }
    if (launchChosenWay(facts))
        return;
    if (facts.plan.kind == tarnwell::LaunchPlan::NeedsCompatibilityLayer) {
        m_platform.warn(QStringLiteral("%1\n\nThis is a Windows program, which this system cannot start by itself. It "
                                       "needs Steam or another compatibility layer to run: right-click Launch and "
                                       "choose Launch with... to start it through one.")
                            .arg(m_game.exePath));
        return;
    }
    if (facts.plan.kind == tarnwell::LaunchPlan::Steam)
        askSteam(facts.plan.appId);
    else
        start(tarnwell::launchCommand(facts.shortPath));
}

QString GameLauncher::distrusted(const Facts &facts) const
{
    // A program to run that another user could have named is never run: Tarnwell may be the superuser.
    const QString notRun = QStringLiteral("\n\nTarnwell does not run a program that another user could have named "
                                          "there. Run Tarnwell as the user whose configuration it is, or choose the "
                                          "executable and the way to launch it again as yourself.");
    if (facts.choice.kind == tarnwell::LaunchChoice::CommandLine && !facts.choiceForeign.isEmpty())
        return QStringLiteral("The command line to launch Quillvane with was not run: it was read from %1.")
                   .arg(facts.choiceForeign) + notRun;
    // A command line runs the executable too, for %command% or as the program of its arguments alone.
    const bool runsIt = facts.choice.kind == tarnwell::LaunchChoice::CommandLine
        || (facts.choice.kind == tarnwell::LaunchChoice::Default && facts.plan.kind == tarnwell::LaunchPlan::Direct);
    if (runsIt && !m_game.foreign.isEmpty())
        return QStringLiteral("%1\n\nwas not started: it was named by %2.").arg(m_game.exePath, m_game.foreign)
            + notRun;
    return {};
}

void GameLauncher::askSteam(const QString &appId)
{
    // Steam takes its time and says nothing here: the window says it was asked.
    m_steamAsked.start();
    emit note(kSteamAsked, kSteamNoteMs);
    // Nothing could ask it after all: the note goes, and a second press tries again.
    start(tarnwell::openAddressCommand(QStringLiteral("steam://rungameid/") + appId), false, [this] {
        m_steamAsked.invalidate();
        emit noteWithdrawn(kSteamAsked);
    });
}

void GameLauncher::start(const tarnwell::Command &command, bool game, std::function<void()> failed)
{
    // The game goes to the system by its short path; a message names it as the user chose it.
    const bool itself = game || (!command.webAddress && command.line == tarnwell::launchCommand(command.operand).line);
    const QString shown = itself ? QDir::toNativeSeparators(m_game.exePath) : command.operand;
    m_platform.runCommand(command, [self = QPointer(this), shown, failed](const tarnwell::CommandOutcome &outcome) {
        if (!self || outcome.started)
            return;
        if (failed)
            failed();
        self->m_platform.warn(QStringLiteral("Quillvane could not be started:\n%1\n\n%2").arg(shown, outcome.error));
    });
}

void GameLauncher::chooseWay()
{
    if (m_game.exePath.isEmpty()) {
        m_platform.warn(QStringLiteral("No Quillvane QVX.EXE is registered yet, so there is nothing to launch."));
        return;
    }
    // The tool's own list, as written last; one registered before lists were kept is launched the default way.
    const tarnwell::LaunchChoice saved = tarnwell::launchChoice(
        tarnwell::readInstallations(RecentInstallations::filePath(m_platform)).items, m_game.exePath);
    // The saved way first: Enter, or OK to look and leave, keeps it.
    const int way = m_platform.choose(QStringLiteral("Launch with"),
                                      QStringLiteral("How Launch starts\n%1").arg(m_game.exePath), kLaunchWays,
                                      saved.kind);
    if (way < 0)
        return;
    tarnwell::LaunchChoice choice{tarnwell::LaunchChoice::Kind(way), saved.commandLine};
    if (way != tarnwell::LaunchChoice::CommandLine) {
        m_recent.keepLaunchChoice(choice);
        return;
    }
    QString line = saved.commandLine.isEmpty() ? QStringLiteral("%command%") : saved.commandLine;
    if (!m_platform.askText(QStringLiteral("Launch with"),
                            QStringLiteral("Command line; %command% stands for the game's executable, and "
                                           "NAME=value words before the program set environment variables:"),
                            line))
        return;
    choice.commandLine = line;
    keepCommandLine(choice);
}

void GameLauncher::keepCommandLine(const tarnwell::LaunchChoice &choice)
{
    if (tarnwell::namesCompatibilityLayer(choice.commandLine)) {
        m_recent.keepLaunchChoice(choice);
        return;
    }
    // Whether the executable is a Windows program this system cannot start, and Steam's id for it,
    // are asked of the game's disk beside the window.
    struct Check {
        bool needsLayer = false;
        QString appId;
    };
    const QString exe = m_game.exePath, folder = m_game.folder;
    tarnwell::runBeside<Check>(
        this,
        [exe, folder](tarnwell::Job &) {
            Check check{tarnwell::needsCompatibilityLayer(tarnwell::shortPath(exe)), {}};
            if (check.needsLayer)
                check.appId = tarnwell::steamAppId(folder);
            return check;
        },
        [this, choice](Check check) {
            if (!check.needsLayer)
                m_recent.keepLaunchChoice(choice);
            else
                keepWithoutLayer(choice, !check.appId.isEmpty());
        });
}

void GameLauncher::keepWithoutLayer(tarnwell::LaunchChoice choice, bool inSteamLibrary)
{
    QString prompt = QStringLiteral("%1\n\nis a Windows program, which this system cannot start by itself, and the "
                                    "command line\n%2\nnames no compatibility layer to start it through (wine, proton, "
                                    "umu-run, ...).")
                         .arg(m_game.exePath, choice.commandLine);
    QStringList buttons{QStringLiteral("Keep the command line"), QStringLiteral("Cancel")};
    if (inSteamLibrary) {
        prompt += QStringLiteral("\n\nThis copy lies in a Steam library: Steam can start it.");
        buttons.prepend(QStringLiteral("Launch through Steam"));
    }
    const int answer = m_platform.question(prompt, buttons, QStringLiteral("Launch with"));
    if (answer == buttons.size() - 1)
        return;
    if (inSteamLibrary && answer == 0)
        choice.kind = tarnwell::LaunchChoice::Steam;
    m_recent.keepLaunchChoice(choice);
}

bool GameLauncher::launchChosenWay(const Facts &facts)
{
    const tarnwell::LaunchChoice &choice = facts.choice;
    switch (choice.kind) {
    case tarnwell::LaunchChoice::Default:
        return false;
    case tarnwell::LaunchChoice::Steam:
        if (!facts.steamId.isEmpty())
            askSteam(facts.steamId);
        else
            m_platform.warn(QStringLiteral("%1\n\nis in no Steam library that names it, so Steam cannot start it. "
                                           "Choose another way with Launch with... (right-click Launch).")
                                .arg(m_game.exePath));
        return true;
    case tarnwell::LaunchChoice::CommandLine:
        break;
    }
    const tarnwell::LaunchLine launch = tarnwell::launchLine(choice.commandLine, facts.shortPath);
    if (!launch.problem.isEmpty()) {
        m_platform.warn(
            QStringLiteral("Quillvane could not be started with\n%1\n\n%2.").arg(choice.commandLine, launch.problem));
        return true;
    }
    // A line of arguments alone (`-novid`) starts the game itself.
    start(tarnwell::programCommand(launch.program, launch.arguments, launch.environment,
                                   QFileInfo(facts.shortPath).absolutePath(), choice.commandLine),
          launch.program == facts.shortPath);
    return true;
}
