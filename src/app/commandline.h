// SPDX-License-Identifier: MIT
// The program's command line, answered before any window system is asked for, so that --help
// and --version work without a display.
#pragma once

#include <optional>

namespace tarnwell::app {

// Prints the help or the version (exit code 0) or a usage error (exit code 2), or carries out the
// verbs of the command line (cli.h), and gives the code to exit with; nothing when the window is to
// open. Qt's own options (-platform, -style, ...) are
// left for QApplication.
std::optional<int> answerCommandLine(int argc, char *argv[]);

} // namespace tarnwell::app
