// SPDX-License-Identifier: MIT
// A profile: a name and values for some or all of the settings, by the property names of the
// game's files, kept as a small JSON file.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace tarnwell {

struct Profile {
    QString name;
    QMap<QString, QString> values; // property name -> the value as the game's file holds it
    QString game = {};             // for the values first found: the game folder they came from
};

// Far more than the settings need; a larger file is no profile.
inline constexpr qint64 kProfileFileLimit = 1 << 20;
inline constexpr int kProfileNameLimit = 64;
// What every profile file says it is.
inline constexpr QLatin1String kProfileFormat("tarnwell-profile-1");

// The file's bytes: an indented JSON object with "format", "name", "settings" (and "game").
[[nodiscard]] QByteArray profileJson(const Profile &profile);

struct ParsedProfile {
    Profile profile;
    QString problem; // why the bytes are no profile, as a sentence
    bool ok() const { return problem.isEmpty(); }
};

// Reads a profile file's bytes; one without a name of its own is named `fallbackName`.
[[nodiscard]] ParsedProfile parseProfile(const QByteArray &bytes, const QString &fallbackName);

// Why the text cannot name a profile (a phrase that follows "it"), or empty when it can. Names
// become file names, so they follow what Windows allows in one; "auto" is kept for --profile auto.
[[nodiscard]] QString profileNameProblem(const QString &name);

// "line 3, column 14": where a byte offset lies in the text, for messages about a JSON error.
[[nodiscard]] QString textPosition(const QByteArray &bytes, int offset);

} // namespace tarnwell
