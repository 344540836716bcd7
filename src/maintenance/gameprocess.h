// SPDX-License-Identifier: MIT
// Whether the registered game is running: it rewrites its settings files when it exits.
#pragma once

#include <QString>

namespace tarnwell {

// True when another process runs the executable at `exePath`, or is called by it as its first
// argument, as a compatibility layer names the Windows program it runs: the native path, a
// Windows-form path such as Z:\games\Quillvane\Binaries\QVX.EXE, or a path relative to the
// process's working folder (binaries/qvx.exe, binaries\qvx.exe), each in any letter case. A process
// that merely names it among its other arguments does not count, nor does the tool's own process.
[[nodiscard]] bool isGameRunning(const QString &exePath);

// True when the two paths name the same file the way Windows would see it: letter case and the
// kind of separator do not matter.
[[nodiscard]] bool sameWindowsPath(const QString &a, const QString &b);

} // namespace tarnwell
