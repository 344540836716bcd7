// SPDX-License-Identifier: MIT
// The command after "--": run with its arguments exactly as given, never through a shell.
#pragma once

#include <QStringList>

namespace tarnwell::cli {

// Runs argv[first] with the arguments after it. On Unix the command takes this process's place and
// this returns only when it cannot be started; on Windows it runs in this console and its exit status
// is returned. `words` are the same arguments as the system gave them (Windows: UTF-16). A command
// that cannot be started gives 127 when it is not found, else 126, as shells do.
[[nodiscard]] int runInstead(int argc, char *argv[], int first, const QStringList &words);

} // namespace tarnwell::cli
