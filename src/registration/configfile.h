// SPDX-License-Identifier: MIT
// The tool's configuration file: one line "QVXEXE=" and the game executable's full path.
#pragma once

#include <QString>

namespace tarnwell {

struct StoredPath {
    enum class Status {
        Found,   // `path` holds the first line less its first 7 characters (possibly empty)
        Empty,   // a zero-byte file: nothing is registered
        Missing, // no file there
        Failed,  // the file is there but could not be read; see `error`
    };
    Status status = Status::Missing;
    QString path;
    QString error;
};

// Reads the first line, which ends at CR LF, CR or LF; the first 7 characters are skipped unread.
[[nodiscard]] StoredPath readStoredPath(const QString &configPath);

// Replaces the file as a whole or not at all (UTF-8, "QVXEXE=" + path + CR LF).
// Returns why it could not be written, or empty text on success.
[[nodiscard]] QString writeStoredPath(const QString &configPath, const QString &exePath);

} // namespace tarnwell
