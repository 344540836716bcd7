// SPDX-License-Identifier: MIT
#include "registeredgame.h"

#include "maintenance/gameprocess.h"
#include "platform/platform.h"

QString RegisteredGame::noFolderReason() const
{
    if (exePath.isEmpty())
        return QStringLiteral("No Quillvane QVX.EXE has been chosen yet");
    if (!folderProblem.isEmpty())
        return folderProblem;
    return QStringLiteral("Quillvane QVX.EXE is no longer there: %1").arg(exePath);
}

bool RegisteredGame::isRunning() const
{
    return !exePath.isEmpty() && tarnwell::isGameRunning(exePath);
}

bool gameAllowsWrite(Platform &platform, const RegisteredGame &game, const QString &notDone)
{
    // The game writes its settings when it exits, over whatever was written while it ran.
    if (game.folder.isEmpty() || !game.isRunning())
        return true;
    const QString question = QStringLiteral("Quillvane is running:\n%1\n\nThe game writes its settings files when it "
                                            "exits, which undoes what is written while it runs.\n\nWrite the "
                                            "settings anyway?")
                                 .arg(game.exePath);
    if (platform.messageBox(question, Platform::YesNo | Platform::Exclamation | Platform::DefaultNo) == Platform::Yes)
        return true;
    platform.messageBox(notDone, Platform::Information);
    return false;
}

bool confirmDelete(Platform &platform, const RegisteredGame &game, const QString &question)
{
    // What the running game would write again on exit is not deleted by a mere Enter.
    const Platform::MessageOptions safe = game.isRunning() ? Platform::DefaultNo : Platform::OkOnly;
    return platform.messageBox(question, Platform::YesNo | safe, question) == Platform::Yes;
}
