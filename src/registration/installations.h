// SPDX-License-Identifier: MIT
// The installations the user has confirmed, most recent first, each with how "Launch" starts it:
// a per-user file beside Tarnwell.dat, which itself keeps naming only the current one.
#pragma once

#include <QList>
#include <QString>

namespace tarnwell {

struct LaunchChoice {
    enum Kind { Default, Steam, CommandLine } kind = Default;
    QString commandLine; // CommandLine: the words, %command% standing for the executable
};

struct KnownInstallation {
    QString exePath;
    LaunchChoice launch;
};

// More than anyone switches between; the oldest beyond this are forgotten.
inline constexpr int kKnownInstallations = 20;

// Installations.json in the folder of the configuration file.
[[nodiscard]] QString installationsFilePath(const QString &configPath);

struct KnownInstallations {
    QList<KnownInstallation> items;
    QString error; // why an existing file could not be read; a missing one is no error
};

// Entries it cannot make out are passed over; a file that is not JSON gives none.
[[nodiscard]] KnownInstallations readInstallations(const QString &path);

// Replaces the file whole or not at all; returns why it could not be written, or empty text.
[[nodiscard]] QString writeInstallations(const QString &path, const QList<KnownInstallation> &items);

// The executable moved to the front (added when new), keeping how it is launched.
void remember(QList<KnownInstallation> &items, const QString &exePath);

// How the executable is launched; the default for one not in the list.
[[nodiscard]] LaunchChoice launchChoice(const QList<KnownInstallation> &items, const QString &exePath);

} // namespace tarnwell
