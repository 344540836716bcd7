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
    QString foreign = {}; // why the executable it names is not to be started (see foreignReason())
};

// The first line of the content, which ends at CR LF, CR or LF; its first 7 characters are skipped
// unread.
[[nodiscard]] StoredPath parseStoredPath(const QByteArray &content);

// Reads the file (a regular file of sensible size only) and parses it as above.
[[nodiscard]] StoredPath readStoredPath(const QString &configPath);

// Why the one-line file cannot hold the path (a line break or another control character, as a
// phrase after a colon), or empty text when it can.
QString storedPathProblem(const QString &exePath);

struct StoredWrite {
    QString error;  // why it could not be written; empty when it was
    QString keptAs; // where a file there that could not be read was put aside first, native
};

// Replaces the file as a whole or not at all (UTF-8, "QVXEXE=" + path + CR LF); a path that the one
// line cannot hold is refused. A regular file there that cannot be read (larger than any such file)
// is renamed aside first, never written over.
[[nodiscard]] StoredWrite writeStoredPath(const QString &configPath, const QString &exePath);

} // namespace tarnwell
