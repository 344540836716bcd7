// SPDX-License-Identifier: MIT
// A command that a button or link hands to the command runner, kept as a value.
#pragma once

#include "maintenance/filedeletion.h"

#include <QString>

#include <functional>

namespace tarnwell {

struct Command {
    enum class Action { Start, Delete };

    Action action = Action::Start;
    QString operand;          // a program path, a web address, a file, or a folder
    bool webAddress = false;  // Start: `operand` is a web address for the default browser
    bool allFilesIn = false;  // Delete: every file directly in the folder `operand`
    int windowStyle = 0;      // 0 hidden, 1 shown with the focus
    QString line;             // the command line as shown to people and tests
    QStringList arguments;    // Start of a program: its arguments, each passed as it is
    QStringList environment;  // Start of a program: NAME=value added to the tool's environment
    QString folder;           // Start of a program: where it runs; empty for the program's own folder
};

// What a command did, reported back on the window's thread once it is done.
struct CommandOutcome {
    bool started = true;   // Start: false when the program or address could not be opened
    QString error;         // Start: the system's reason
    DeleteResult deletion; // Delete: what was removed and what was not
};
using CommandDone = std::function<void(const CommandOutcome &outcome)>;

// Start the program at `shortPath` (no quotes: a short path has no blanks).
Command launchCommand(const QString &shortPath);
// Delete every file directly in the folder `shortFolder`.
Command deleteAllFilesCommand(const QString &shortFolder);
// Delete the one file at `path`, quoted in the command line.
Command deleteFileCommand(const QString &path);
// Start `program` (a path, or a name looked up in PATH) in `folder` with arguments and
// environment variables; `line` is what the user wrote.
Command programCommand(const QString &program, const QStringList &arguments, const QStringList &environment,
                       const QString &folder, const QString &line);
// Open `address` in the user's web browser.
Command openAddressCommand(const QString &address);

} // namespace tarnwell
