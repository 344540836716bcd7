// SPDX-License-Identifier: MIT
#include "registration/digest.h"

#include "files/pathcase.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <memory>

namespace tarnwell {

namespace {
// Large enough that the per-call overhead vanishes next to the hashing, small enough to stay in cache.
constexpr qint64 kChunkBytes = 256 * 1024;
} // namespace

FileDigest md5OfFile(const QString &path)
{
    const QString onDisk = resolveCase(path);
    if (QFileInfo(onDisk).isDir())
        return {QString(), QStringLiteral("it is a folder, not a file")};
    QFile file(onDisk);
    if (!file.open(QIODevice::ReadOnly))
        return {QString(), file.errorString()};

    QCryptographicHash hash(QCryptographicHash::Md5);
    const auto buffer = std::make_unique<char[]>(kChunkBytes);
    for (;;) {
        const qint64 got = file.read(buffer.get(), kChunkBytes);
        if (got < 0)
            return {QString(), file.errorString()};
        if (got == 0)
            break;
        hash.addData(QByteArrayView(buffer.get(), got));
    }
    return {QString::fromLatin1(hash.result().toHex().toUpper()), QString()};
}

} // namespace tarnwell
