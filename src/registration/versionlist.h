// SPDX-License-Identifier: MIT
// The known-versions file: per line a lower-case MD5 digest, one separator character, a version name.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace tarnwell {

// The file's lines. A line ends at CR LF or at a lone CR; a lone LF is part of the line.
QStringList versionListLines(const QByteArray &content);

// The name of the last line whose first 32 characters equal `lowerDigest` exactly, taken from the
// 34th character on (the 33rd, the separator, is never looked at); nothing when no line matches.
std::optional<QString> findVersionName(const QStringList &lines, const QString &lowerDigest);

struct VersionList {
    QStringList lines;
    QString error; // why the file could not be read; empty on success
};

[[nodiscard]] VersionList readVersionList(const QString &path);

} // namespace tarnwell
