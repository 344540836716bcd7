// SPDX-License-Identifier: MIT
// The MD5 fingerprint of a file, read in pieces so that memory use does not follow the file's size.
#pragma once

#include <QString>

namespace tarnwell {

struct FileDigest {
    QString hex;   // 32 upper-case hexadecimal digits; empty when the file could not be read
    QString error; // why the file could not be read; empty on success

    bool ok() const { return error.isEmpty(); }
};

[[nodiscard]] FileDigest md5OfFile(const QString &path);

} // namespace tarnwell
