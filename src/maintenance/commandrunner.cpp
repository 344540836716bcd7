// SPDX-License-Identifier: MIT
#include "maintenance/commandrunner.h"

#include "files/background.h"
#include "maintenance/filedeletion.h"
#include "maintenance/urlopener.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

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

CommandOutcome startProgram(const Command &command)
{
    const QString &path = command.operand;
    if (path.isEmpty())
        return {false, QStringLiteral("no program was named"), {}};
    const QFileInfo program(path);
    QProcess process;
    // A bare name is looked up in PATH by the system; a path runs in its own folder.
    const bool named = !path.contains(u'/') && !path.contains(u'\\');
    process.setProgram(named ? path : program.absoluteFilePath());
    process.setArguments(command.arguments);
    process.setWorkingDirectory(!command.folder.isEmpty() ? command.folder : named ? QString() : program.absolutePath());
    if (!command.environment.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &variable : command.environment)
            environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
        process.setProcessEnvironment(environment);
    }
    // Detached: the game outlives the tool. The object only carries the reason when it fails.
    if (!process.startDetached())
        return {false, process.errorString(), {}};
    return {};
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
