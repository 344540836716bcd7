// SPDX-License-Identifier: MIT
// Where the program of a command line is, before it is started.
#pragma once

#include <QString>

namespace tarnwell {

// A path with a folder in it is taken from `folder`, where the program runs, when relative (never
// from the tool's own working folder), and made whole; a bare name is left for the system to find
// in PATH. Native separators.
[[nodiscard]] QString programPath(const QString &program, const QString &folder);

} // namespace tarnwell
