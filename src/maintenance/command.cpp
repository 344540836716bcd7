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
    Command command;
    command.action = Command::Action::Start;
    command.operand = shortPath;
    command.windowStyle = 0;
    command.line = kStart + shortPath;
    return command;
}

Command deleteAllFilesCommand(const QString &shortFolder)
{
    Command command;
    command.action = Command::Action::Delete;
    command.operand = shortFolder;
    command.allFilesIn = true;
    command.windowStyle = 1;
    // The wildcard always follows a backslash: the line is written as the interpreter would read it.
    command.line = kDelete + shortFolder + QStringLiteral("\\*.*");
    return command;
}

Command deleteFileCommand(const QString &path)
{
    Command command;
    command.action = Command::Action::Delete;
    command.operand = path;
    command.windowStyle = 1;
    command.line = kDelete + QLatin1Char('"') + path + QLatin1Char('"');
    return command;
}

Command openAddressCommand(const QString &address)
{
    Command command;
    command.action = Command::Action::Start;
    command.operand = address;
    command.webAddress = true;
    command.windowStyle = 0;
    command.line = kStart + address;
    return command;
}

} // namespace tarnwell
