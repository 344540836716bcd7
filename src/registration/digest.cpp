// SPDX-License-Identifier: MIT
#include "registration/digest.h"

#include "files/openfile.h"
#include "files/pathcase.h"

#include <QCryptographicHash>
#include <QFile>

#include <memory>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#endif

namespace tarnwell {

namespace {
// Large enough that the per-call overhead vanishes next to the hashing, small enough to stay in cache.
constexpr qint64 kChunkBytes = 256 * 1024;
} // namespace

FileDigest md5OfFile(const QString &path, const DigestProgress &progress)
{
    QFile file;
    if (const QString problem = openForReading(file, resolveCase(path)); !problem.isEmpty())
        return {QString(), problem};

#ifdef Q_OS_LINUX
    // Read once from start to end: the system then reads further ahead of a file not yet in memory.
    ::posix_fadvise(file.handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    QCryptographicHash hash(QCryptographicHash::Md5);
    const auto buffer = std::make_unique<char[]>(kChunkBytes);
    const qint64 total = file.size();
    qint64 done = 0;
    for (;;) {
        const qint64 got = file.read(buffer.get(), kChunkBytes);
        if (got < 0)
            return {QString(), file.errorString()};
        if (got == 0)
            break;
        hash.addData(QByteArrayView(buffer.get(), got));
        done += got;
        if (progress && !progress(done, total))
            return {QString(), QString(), true};
    }
    return {QString::fromLatin1(hash.result().toHex().toUpper()), QString()};
}

} // namespace tarnwell
