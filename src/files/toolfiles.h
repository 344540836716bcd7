// SPDX-License-Identifier: MIT
// Where the tool's own files live: beside the program in a portable copy, in the per-user and
// installed folders when the tool has been installed.
#pragma once

#include <QString>

namespace tarnwell {

// Tarnwell.dat: beside the program when its folder already holds one, or when it is a portable
// copy whose folder can be written; otherwise in the per-user folder ($XDG_CONFIG_HOME/tarnwell on
// Linux, %LOCALAPPDATA%\Tarnwell on Windows). An installed program is one with no known-versions
// list beside it and one in the installed data folder. Native separators.
QString configFilePath(const QString &programFolder);

// The per-user folder of the tool's own files: $XDG_CONFIG_HOME/tarnwell on Linux (~/.config/tarnwell
// by default), %LOCALAPPDATA%\Tarnwell on Windows. Profiles and the values first found live below it.
QString userToolFolder();
// The profiles, one file each, below a tool folder such as userToolFolder().
QString profilesFolder(const QString &toolFolder);
// The copies of the settings files kept before a write: $XDG_DATA_HOME/tarnwell/backups on Linux,
// %LOCALAPPDATA%\tarnwell\backups on Windows.
QString backupsFolder();

// dat/QVX.dat beside the program, else the installed one; beside the program when neither exists.
QString versionListPath(const QString &programFolder);

// The banner module beside the program, else in the installed library folder; empty for none.
QString findBannerModule(const QString &programFolder);

// Writes one of the tool's own files (Tarnwell.dat, Installations.json, a profile) whole or not at
// all, making its folder on the way, for the user alone. Returns why it could not be written (a
// phrase), or empty text.
[[nodiscard]] QString writeToolFile(const QString &path, const QByteArray &bytes);
// Removes one of the tool's own files. Returns why it could not be removed, or empty text; a file
// that is not there is no error.
[[nodiscard]] QString removeToolFile(const QString &path);

} // namespace tarnwell
