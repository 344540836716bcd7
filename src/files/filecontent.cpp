// SPDX-License-Identifier: MIT
#include "files/filecontent.h"

#include "files/openfile.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cstring>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace tarnwell {

namespace {

constexpr qsizetype kChunk = 64 << 10; // small enough to stay in the heap: no fresh pages per use

// A fresh buffer of many megabytes costs a page fault per 4 KB when it is first filled; in large
// pages it costs a few hundred times fewer.
void preferLargePages(QByteArray &buffer)
{
#ifdef Q_OS_LINUX
    constexpr quintptr kLarge = 2 << 20;
    if (buffer.size() < qsizetype(4 * kLarge))
        return;
    const quintptr begin = (quintptr(buffer.data()) + kLarge - 1) & ~(kLarge - 1);
    const quintptr end = (quintptr(buffer.data()) + quintptr(buffer.size())) & ~(kLarge - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(buffer);
#endif
}

// A size as people read it: "64 MB".
QString sizeText(qint64 bytes)
{
    return QLocale::c().formattedDataSize(bytes, 0, QLocale::DataSizeTraditionalFormat);
}

} // namespace

FileBytes readOpenedFile(QFile &file, qint64 limit)
{
    const FileStamp stamp = stampOf(file);
    const auto tooLarge = [&] {
        return FileBytes{{}, QStringLiteral("it is larger than %1, more than such a file ever holds").arg(sizeText(limit))};
    };
    if (file.size() > limit)
        return tooLarge();
    QByteArray bytes(file.size(), Qt::Uninitialized);
    preferLargePages(bytes);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const qint64 got = file.read(bytes.data() + filled, bytes.size() - filled);
        if (got < 0)
            return {{}, file.errorString()};
        if (got == 0)
            break; // the file shrank meanwhile
        filled += got;
    }
    bytes.truncate(filled);
    // The file may have grown meanwhile, or have told no size at all: read on, but never past the limit.
    QByteArray more(kChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(more.data(), more.size());
        if (got < 0)
            return {{}, file.errorString()};
        if (got == 0)
            break;
        if (bytes.size() + got > limit)
            return tooLarge();
        bytes.append(more.constData(), got);
    }
    return {std::move(bytes), {}, stamp};
}

FileBytes readWholeFile(const QString &path, qint64 limit)
{
    QFile file;
    if (const QString problem = openForReading(file, path); !problem.isEmpty())
        return {{}, problem};
    return readOpenedFile(file, limit);
}

FileBytes readOwnFile(const QString &path, qint64 limit)
{
    QFile file;
    if (const QString problem = openOwnForReading(file, path); !problem.isEmpty())
        return {{}, problem};
    return readOpenedFile(file, limit);
}

bool unchangedSince(const QString &path, const FileBytes &read)
{
    // A change within the clock's resolution keeps the time: the bytes tell, while reading them is cheap.
    constexpr qint64 kReadAgain = 4 << 20;
    if (stampAt(path) != read.stamp)
        return false;
    return read.bytes.size() > kReadAgain || compareWithFile(path, read.bytes).result == Comparison::Same;
}

Comparison compareWithFile(const QString &path, const Producer &expected)
{
    QFile file;
    if (const QString problem = openForReading(file, path); !problem.isEmpty())
        return {Comparison::Failed, problem};
    QByteArray buffer(kChunk, Qt::Uninitialized);
    bool same = true;
    QString error;
    expected([&](QByteArrayView chunk) {
        while (!chunk.isEmpty()) {
            const qint64 got = file.read(buffer.data(), std::min(chunk.size(), kChunk));
            if (got < 0) {
                error = file.errorString();
                return false;
            }
            if (got == 0 || std::memcmp(buffer.constData(), chunk.data(), size_t(got)) != 0) {
                same = false;
                return false;
            }
            chunk = chunk.sliced(got);
        }
        return true;
    });
    if (error.isEmpty() && same) {
        char more = 0;
        const qint64 got = file.read(&more, 1);
        if (got < 0)
            error = file.errorString();
        same = got == 0;
    }
    if (!error.isEmpty())
        return {Comparison::Failed, error};
    return {same ? Comparison::Same : Comparison::Different, {}};
}

Comparison compareWithFile(const QString &path, QByteArrayView expected)
{
    const QFileInfo info(path);
    if (info.exists() && info.size() != expected.size())
        return {Comparison::Different, {}};
    return compareWithFile(path, [expected](const ChunkSink &sink) {
        for (qsizetype at = 0; at < expected.size(); at += kChunk) {
            if (!sink(expected.sliced(at, std::min(kChunk, expected.size() - at))))
                return false;
        }
        return true;
    });
}

} // namespace tarnwell
