// SPDX-License-Identifier: MIT
// Whether the registered game is running: it rewrites its settings files when it exits.
#pragma once

#include <QString>

namespace tarnwell {

// True when another process runs the executable at `exePath`, or names it on its command line as a
// compatibility layer does when it starts a Windows program (Unix paths, or Windows-form paths such
// as Z:\games\Quillvane\Binaries\QVX.EXE). The tool's own process never counts.
[[nodiscard]] bool isGameRunning(const QString &exePath);

// True when the two paths name the same file the way Windows would see it: letter case and the
// kind of separator do not matter.
[[nodiscard]] bool sameWindowsPath(const QString &a, const QString &b);

} // namespace tarnwell
