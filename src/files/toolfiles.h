// SPDX-License-Identifier: MIT
// Where the tool's own files live: beside the program in a portable copy, in the per-user and
// installed folders when the tool has been installed.
#pragma once

#include <QString>

namespace tarnwell {

// The per-user folder for the configuration file: $XDG_CONFIG_HOME/tarnwell (~/.config/tarnwell)
// on Linux, %LOCALAPPDATA%\Tarnwell on Windows. Native separators.
QString userConfigFolder();

// True for an installed program: no known-versions list of its own beside it, one in the
// installed data folder (share/tarnwell/dat/QVX.dat under the prefix).
bool isInstalled(const QString &programFolder);

// Tarnwell.dat: beside the program when its folder already holds one, or when it is a portable
// copy whose folder can be written; otherwise in the per-user folder. Native separators.
QString configFilePath(const QString &programFolder);

// dat/QVX.dat beside the program, else the installed one; beside the program when neither exists.
QString versionListPath(const QString &programFolder);

// The banner module's file name on this platform.
QString bannerModuleName();

// The banner module beside the program, else in the installed library folder; empty for none.
QString findBannerModule(const QString &programFolder);

} // namespace tarnwell
