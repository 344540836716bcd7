// SPDX-License-Identifier: MIT
#include "maintenance/commandrunner.h"

#include "files/background.h"
#include "maintenance/filedeletion.h"
#include "maintenance/programstart.h"
#include "maintenance/urlopener.h"

#include <QCoreApplication>

namespace tarnwell {

namespace {

// Always queued, so that the caller hears of the outcome after it has returned, from any thread.
void report(const CommandDone &done, const CommandOutcome &outcome)
{
    if (done) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [done, outcome] { done(outcome); }, Qt::QueuedConnection);
    }
}

} // namespace

void runDetached(const Command &command, const CommandDone &done)
{
    switch (command.action) {
    case Command::Action::Start:
        if (command.webAddress) {
            openAddress(command.operand, [done](bool opened, const QString &error) {
                report(done, {opened, error, {}});
            });
        } else {
            report(done, startProgram(command));
        }
        return;
    case Command::Action::Delete: {
        // A shader cache may hold many thousands of files: the window must not wait for them.
        const QString operand = command.operand;
        const bool allFilesIn = command.allFilesIn;
        runBeside<CommandOutcome>(
            QCoreApplication::instance(),
            [operand, allFilesIn](Job &) {
                CommandOutcome outcome;
                outcome.deletion = allFilesIn ? deleteAllFilesIn(operand) : deleteFile(operand);
                return outcome;
            },
            [done](CommandOutcome outcome) {
                if (done)
                    done(outcome);
            });
        return;
    }
    }
}

} // namespace tarnwell
