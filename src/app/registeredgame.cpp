// SPDX-License-Identifier: MIT
#include "registeredgame.h"

#include "files/background.h"
#include "files/toolfiles.h"
#include "maintenance/gameprocess.h"
#include "platform/platform.h"
#include "registration/configfile.h"

#include <QTimer>

#include <memory>

namespace {
constexpr int kRunningCheckPatienceMs = 5000;
} // namespace

QString RegisteredGame::noFolderReason() const
{
    if (exePath.isEmpty())
        return QStringLiteral("No Quillvane QVX.EXE has been chosen yet");
    if (!folderProblem.isEmpty())
        return folderProblem;
    return QStringLiteral("Quillvane QVX.EXE is no longer there: %1").arg(exePath);
}

void RegisteredGame::load(Platform &platform)
{
    const QString path = tarnwell::configFilePath(platform.programFolder());
    // Read whatever stands there, so that something that is no file is reported, not passed over.
    const tarnwell::StoredPath stored = tarnwell::readStoredPath(path);
    switch (stored.status) {
    case tarnwell::StoredPath::Status::Found:
        exePath = stored.path;
        foreign = stored.foreign.isEmpty() ? QString() : QStringLiteral("%1, which named it: %2").arg(path, stored.foreign);
        break;
    case tarnwell::StoredPath::Status::Failed:
        platform.warn(QStringLiteral("Cannot read %1: %2.").arg(path, stored.error));
        break;
    case tarnwell::StoredPath::Status::Empty:
    case tarnwell::StoredPath::Status::Missing:
        break;
    }
}

bool RegisteredGame::save(Platform &platform)
{
    const QString path = tarnwell::configFilePath(platform.programFolder());
    const tarnwell::StoredWrite written = tarnwell::writeStoredPath(path, exePath);
    if (!written.keptAs.isEmpty())
        platform.warn(QStringLiteral("%1 could not be read, so it was kept as\n%2\nbefore a new one was written there.")
                          .arg(path, written.keptAs));
    if (!written.error.isEmpty()) {
        platform.warn(QStringLiteral("Cannot save the game's path to %1: %2.\nIt will have to be chosen again at "
                                     "the next start.")
                          .arg(path, written.error));
        return false;
    }
    foreign.clear(); // chosen by the user running Tarnwell now
    return true;
}

void RegisteredGame::whenRunningKnown(QObject *owner, std::function<void(bool running)> then) const
{
    if (exePath.isEmpty()) {
        then(false);
        return;
    }
    auto answered = std::make_shared<bool>(false);
    const auto answer = [answered, then = std::move(then)](bool running) {
        if (!std::exchange(*answered, true))
            then(running);
    };
    const QString exe = exePath;
    const tarnwell::JobHandle job = tarnwell::runBeside<bool>(
        owner, [exe](tarnwell::Job &) { return tarnwell::isGameRunning(exe); }, answer);
    // Processes that cannot be looked through in time count as no game running: what the game would
    // then write on exit undoes the user's change, never one of its own.
    QTimer::singleShot(kRunningCheckPatienceMs, owner, [job, answer] {
        job->cancel();
        answer(false);
    });
}

void whenWriteAllowed(Platform &platform, const RegisteredGame &game, const QString &notDone, QObject *owner,
                      std::function<void(bool allowed)> then)
{
    if (game.folder.isEmpty()) {
        then(true);
        return;
    }
    // The game writes its settings when it exits, over whatever was written while it ran.
    game.whenRunningKnown(owner, [&platform, exe = game.exePath, notDone, then = std::move(then)](bool running) {
        if (!running) {
            then(true);
            return;
        }
        const QString question = QStringLiteral("Quillvane is running:\n%1\n\nThe game writes its settings files "
                                                "when it exits, which undoes what is written while it runs.\n\n"
                                                "Write the settings anyway?")
                                     .arg(exe);
        if (platform.messageBox(question, Platform::YesNo | Platform::Exclamation | Platform::DefaultNo)
            == Platform::Yes) {
            then(true);
            return;
        }
        platform.messageBox(notDone, Platform::Information);
        then(false);
    });
}

bool confirmDelete(Platform &platform, const QString &question)
{
    // A delete is a risky question: a mere Enter never answers Yes to it.
    return platform.messageBox(question, Platform::YesNo | Platform::DefaultNo, question) == Platform::Yes;
}
