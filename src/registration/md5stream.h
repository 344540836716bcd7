// SPDX-License-Identifier: MIT
// The MD5 digest of an open file by the system's own implementation (libcrypto, or Windows' CNG),
// which runs several times faster than a portable one: a game's executable holds hundreds of
// megabytes. The file is read a window at a time, so that memory use does not follow its size.
#pragma once

#include "registration/digest.h"

#include <QByteArray>

class QFile;

namespace tarnwell::Md5Stream {

struct Outcome {
    QByteArray digest; // 16 bytes
    QString error;
    bool cancelled = false;
};

// From the file's current position to its end.
Outcome ofFile(QFile &file, const DigestProgress &progress);
// Of bytes in memory, for the known vectors of the tests.
QByteArray ofBytes(QByteArrayView bytes);

} // namespace tarnwell::Md5Stream
