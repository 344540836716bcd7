// SPDX-License-Identifier: MIT
// Starting a program detached, each argument passed as it is, and hearing the system's reason when
// it cannot start: Qt's own start names none on Windows ("Process failed to start").
#pragma once

#include "maintenance/command.h"

#ifdef Q_OS_WIN
#include <string>
#endif

namespace tarnwell {

// Starts the program of a Start command (a path, or a name the system looks up) with its
// arguments and environment, in `command.folder` or else the program's own folder, and returns at
// once. Never through a shell or command interpreter.
[[nodiscard]] CommandOutcome startProgram(const Command &command);

#ifdef Q_OS_WIN
// One argument of a Windows command line, as a program's run-time library reads it back: quoted when
// it holds a blank, a tab or a quote (or is empty), quotes escaped, and backslashes doubled only where
// a quote follows them.
[[nodiscard]] std::wstring windowsArgument(const QString &argument);
#endif

} // namespace tarnwell
