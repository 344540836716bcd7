// SPDX-License-Identifier: MIT
// The MD5 fingerprint of a file, read in pieces so that memory use does not follow the file's size.
#pragma once

#include <QString>

#include <functional>

namespace tarnwell {

struct FileDigest {
    QString hex;   // 32 upper-case hexadecimal digits; empty when the file could not be read
    QString error; // why the file could not be read; empty on success
    bool cancelled = false;

    bool ok() const { return error.isEmpty() && !cancelled; }
};

// Told how many bytes of how many have been digested so far; returns false to stop.
using DigestProgress = std::function<bool(qint64 done, qint64 total)>;

// Only a regular file is digested: a named pipe or a device would never end.
[[nodiscard]] FileDigest md5OfFile(const QString &path, const DigestProgress &progress = {});

} // namespace tarnwell
