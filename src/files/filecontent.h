// SPDX-License-Identifier: MIT
// Whole-file reads, comparisons without a second copy in memory, and writes that never leave a
// file half written.
#pragma once

#include "files/chunks.h"
#include "files/openfile.h"
#include "files/safepath.h"

#include <QByteArray>
#include <QString>

namespace tarnwell {

struct FileBytes {
    QByteArray bytes;
    QString error; // the system's reason when the file could not be read
    FileStamp stamp = {}; // the file's, taken before its first byte was read
    bool ok() const { return error.isEmpty(); }
};

// The game's settings files hold a few kilobytes; anything near this is no settings file, and is
// neither read into memory, nor copied, nor written.
inline constexpr qint64 kSettingsFileLimit = 64 << 20;

// Reads the regular file at `path` whole, refusing anything else (see openForReading()) and any file
// larger than `limit` bytes, so that no file can exhaust memory.
[[nodiscard]] FileBytes readWholeFile(const QString &path, qint64 limit);
// The same for a file that only the running user can have made (see openOwnForReading()).
[[nodiscard]] FileBytes readOwnFile(const QString &path, qint64 limit);
// Reads a file opened already, whole, never past `limit`.
[[nodiscard]] FileBytes readOpenedFile(QFile &file, qint64 limit);

// True when the file at `path` still holds what `read` took from it: the same file, size and time of
// its last change, and for a file small enough to read again at once, the same bytes.
[[nodiscard]] bool unchangedSince(const QString &path, const FileBytes &read);

struct Comparison {
    enum Result { Same, Different, Failed } result;
    QString error; // for Failed
};

// Compares the file with the content, reading it a piece at a time; stops at the first difference.
[[nodiscard]] Comparison compareWithFile(const QString &path, const Producer &expected);
[[nodiscard]] Comparison compareWithFile(const QString &path, QByteArrayView expected);

struct FileWrite {
    bool replaced = false; // the old content is gone
    QString problem = {};  // a sentence for the user; empty when the file holds exactly the content
    QString reason = {};   // when it was not written: why, as the system or the checks put it
    bool changed = false;  // the file was no longer what was read: nothing was written
    bool ok() const { return problem.isEmpty() && !changed; }
};

struct WriteOptions {
    // What the file held when it was read. Right before the new content takes its place, the file
    // must still be that (the same file, size and time of change, to the nanosecond, and its bytes
    // up to 4 MB); otherwise nothing is written and FileWrite::changed says so.
    const FileBytes *expected = nullptr;
    Reach reach = Reach::Write; // ToolWrite: the tool's own file, its folders made on the way
};

// Writes the content to a temporary file beside the target and puts it in the target's place only
// when it is complete and on the disk; then reads the file back. The file keeps its permissions, a
// read-only file included, and its owner and group where the process may set them. The file is a
// new one: hard links to the old file keep the old content. When the write fails the old file is
// left whole and the problem gives the system's reason. Where it may be written: see reachFile().
[[nodiscard]] FileWrite writeAtomically(const QString &path, const Producer &content, const WriteOptions &options = {});

} // namespace tarnwell
