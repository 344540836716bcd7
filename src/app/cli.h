// SPDX-License-Identifier: MIT
// The command line's verbs (--list, --get, --set, the profiles): answered without a display, with
// Qt Core alone, before any window system is asked for.
#pragma once

#include "maintenance/powersource.h"

#include <QByteArrayView>
#include <QStringList>

#include <functional>

namespace tarnwell::cli {

enum ExitCode { Done = 0, Refused = 1, Usage = 2, NoGame = 3, WriteFailed = 4, GameRunning = 5 };

// What the verbs need of the system; tests give temporary folders and stand-ins.
struct Environment {
    QString programFolder; // where Tarnwell.dat is looked for
    QString toolFolder;    // the per-user folder: profiles, values first found, the rules of --profile auto
    QString backupFolder;
    std::function<PowerSource()> powerSource;
    std::function<bool(const QString &exePath)> gameRunning;
    std::function<void(QByteArrayView bytes)> out;  // standard output: for scripts only
    std::function<void(const QString &message)> err; // standard error: one message, without "tarnwell: "
};

struct Outcome {
    int exitCode = Done;
    int commandIndex = -1; // the argument that starts the command after "--" to run now; -1 for none
};

// True when the arguments name a verb of the command line rather than open the window.
[[nodiscard]] bool wantsCommandLine(const QStringList &arguments);

// Carries out the verbs that the arguments (the program's name first) name.
[[nodiscard]] Outcome run(const QStringList &arguments, const Environment &environment);

// The whole command line as the program runs it: Qt Core only, the system's folders, the command
// after "--" run in the end. Returns the exit code.
[[nodiscard]] int runCommandLine(int argc, char *argv[]);

// --help's text.
[[nodiscard]] QString helpText();

} // namespace tarnwell::cli
