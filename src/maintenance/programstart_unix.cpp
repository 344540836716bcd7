// SPDX-License-Identifier: MIT
// Unix: a detached process, whose failure to start the system explains (such as "execv: Exec format error").
#include "maintenance/programstart.h"

#include "files/programs.h"

#include <QFileInfo>
#include <QProcess>

namespace tarnwell {

CommandOutcome startProgram(const Command &command)
{
    const QString &path = command.operand;
    if (path.isEmpty())
        return {false, QStringLiteral("no program was named"), {}};
    QProcess process;
    // A bare name is looked up in PATH by the system; a path is taken from where the program runs.
    const bool named = !path.contains(u'/') && !path.contains(u'\\');
    const QString program = programPath(path, command.folder);
    process.setProgram(program);
    process.setArguments(command.arguments);
    process.setWorkingDirectory(!command.folder.isEmpty() ? command.folder
                                : named                   ? QString()
                                                          : QFileInfo(program).absolutePath());
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

} // namespace tarnwell
