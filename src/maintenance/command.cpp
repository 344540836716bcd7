// SPDX-License-Identifier: MIT
// The command values of the launch, clean-up and link commands, with the command line people see.
#include "maintenance/command.h"

namespace tarnwell {

namespace {
const QString kStart = QStringLiteral("cmd.exe /c start ");
const QString kDelete = QStringLiteral("cmd.exe /c del ");
} // namespace

Command launchCommand(const QString &shortPath)
{
    return {Command::Action::Start, shortPath, false, false, 0, kStart + shortPath, {}, {}, {}};
}

Command deleteAllFilesCommand(const QString &shortFolder)
{
    // The wildcard always follows a backslash: the line is written as the interpreter would read it.
    return {Command::Action::Delete, shortFolder, false, true, 1, kDelete + shortFolder + QStringLiteral("\\*.*"), {}, {}, {}};
}

Command deleteFileCommand(const QString &path)
{
    return {Command::Action::Delete, path, false, false, 1, kDelete + QLatin1Char('"') + path + QLatin1Char('"'), {}, {}, {}};
}

Command programCommand(const QString &program, const QStringList &arguments, const QStringList &environment,
                       const QString &folder, const QString &line)
{
    return {Command::Action::Start, program, false, false, 0, line, arguments, environment, folder};
}

Command openAddressCommand(const QString &address)
{
    return {Command::Action::Start, address, true, false, 0, kStart + address, {}, {}, {}};
}

} // namespace tarnwell
