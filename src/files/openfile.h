// SPDX-License-Identifier: MIT
// Opening files for reading without ever waiting on something that is not a regular file.
#pragma once

#include <QFile>
#include <QString>

#ifdef Q_OS_UNIX
#include <sys/types.h>
#endif

namespace tarnwell {

// Why what stands at `path` (links followed) is not a regular file: "it is a folder, not a file",
// "it is a named pipe (FIFO), not a regular file", ...; empty text when it is a regular file or when
// nothing is there.
QString notRegularReason(const QString &path);
#ifdef Q_OS_UNIX
QString typeReason(mode_t mode); // the same, for a type as stat() gives it
#endif

// Opens the regular file at `path` for reading, without waiting for a writer as a named pipe
// would; the type is checked on the opened descriptor, so a file swapped in meanwhile cannot
// block either. Returns why it could not be opened (as notRegularReason(), or the system's reason),
// or empty text when `file` is open.
[[nodiscard]] QString openForReading(QFile &file, const QString &path);

// As openForReading(), for a file that only the running user can have made (a kept copy): a
// symbolic link at the path is not followed, and a file of another owner or with other hard links
// is refused.
[[nodiscard]] QString openOwnForReading(QFile &file, const QString &path);

// What tells one state of a file from another without reading it.
struct FileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1; // -1: nothing is there
    qint64 modified = 0; // nanoseconds
    bool operator==(const FileStamp &) const = default;
};
FileStamp stampOf(const QFile &file); // of the open file
FileStamp stampAt(const QString &path);
// How many names (hard links) the file has; 1 where the system does not tell.
int nameCount(const QString &path);

} // namespace tarnwell
