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
    // A file that is there but could not be read as a list: it is the player's, and is kept aside
    // before a new one is written, never written over.
    bool unreadable = false;
    QString foreign; // why its launch commands are not to be run (see foreignReason())
};

// Entries it cannot make out are passed over; a file that is not a list (not JSON, or larger than
// any list) is unreadable.
[[nodiscard]] KnownInstallations readInstallations(const QString &path);

struct ListWrite {
    QString error;  // why it could not be written; empty when it was
    QString keptAs; // where an unreadable list was put aside first, native; empty when none was
};

// Replaces the file whole or not at all; a file there that cannot be read as a list is renamed aside
// first (NAME.unreadable-<date and time>).
[[nodiscard]] ListWrite writeInstallations(const QString &path, const QList<KnownInstallation> &items);

// Renames the file at `path` aside as NAME.unreadable-<date and time>; returns the new path, or
// empty text and why not in `error`.
[[nodiscard]] QString keepAside(const QString &path, QString &error);

// The executable moved to the front (added when new), keeping how it is launched; every entry that
// names the same file (by where it really is) goes, and of entries naming another file alike the
// first stays. Looks at the disks the entries are on.
void remember(QList<KnownInstallation> &items, const QString &exePath);

// How the executable is launched; the default for one not in the list.
[[nodiscard]] LaunchChoice launchChoice(const QList<KnownInstallation> &items, const QString &exePath);
// True when two paths are written alike, separators and (on Windows) letter case aside: the list and
// Tarnwell.dat may each spell the registered executable their own way. Touches no disk.
[[nodiscard]] bool samePathText(const QString &a, const QString &b);

} // namespace tarnwell
