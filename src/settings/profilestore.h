// SPDX-License-Identifier: MIT
// Profiles as files: one file a profile in the profiles folder, named after the profile; the values
// first found of each installation; profiles read from and written to any file.
#pragma once

#include "settings/profile.h"

#include <QStringList>

namespace tarnwell {

struct ProfileList {
    QStringList names; // sorted, letter case ignored
    bool folderExists = false;
};

// The profiles in the folder: every "<name>.json" whose name could name a profile.
[[nodiscard]] ProfileList listProfiles(const QString &folder);

// The file of the profile: one already there whose name differs only in letter case, as Windows
// would find it, else "<name>.json" in the folder. Native separators.
[[nodiscard]] QString profilePath(const QString &folder, const QString &name);

struct ProfileFile {
    enum Status { Read, Missing, Broken } status = Missing;
    Profile profile;
    QString path;
    QString problem; // Missing or Broken: a sentence naming the file and the reason
};

// Any profile file, such as one to import; one without a name of its own takes its file's.
[[nodiscard]] ProfileFile readProfileFile(const QString &path);
// The profile of that name in the folder; its file's name is its name.
[[nodiscard]] ProfileFile loadProfile(const QString &folder, const QString &name);

// Writes the profile, whole or not at all, into the folder (or, for an export, to `path`). Returns why
// it could not be written, naming the file, or empty text.
[[nodiscard]] QString storeProfile(const QString &folder, const Profile &profile);
[[nodiscard]] QString exportProfile(const QString &path, const Profile &profile);
[[nodiscard]] QString deleteProfile(const QString &folder, const QString &name);

// Where the values first found in the game folder are kept, below the tool's per-user folder.
[[nodiscard]] QString firstFoundPath(const QString &toolFolder, const QString &gameFolder);
// Keeps the values of settings read for the first time in that game folder: only those not kept
// yet are added. Returns why they could not be kept, or empty text.
[[nodiscard]] QString keepFirstFound(const QString &toolFolder, const QString &gameFolder, const QMap<QString, QString> &values);

// The name under which the values first found are offered.
inline constexpr QLatin1String kFirstFoundName("As first found");

} // namespace tarnwell
