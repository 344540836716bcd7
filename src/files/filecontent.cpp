// SPDX-License-Identifier: MIT
#include "files/filecontent.h"

#include "files/openfile.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <cstring>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
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

// The new file is made by this process: it takes the old one's owner and group where the process
// may set them, so that a game running as the player can still write its own settings.
void keepOwner(QSaveFile &file, const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat old = {};
    if (::stat(QFile::encodeName(path).constData(), &old) != 0)
        return;
    if (::fchown(file.handle(), old.st_uid, old.st_gid) != 0)
        static_cast<void>(::fchown(file.handle(), uid_t(-1), old.st_gid)); // the group alone, where allowed
#else
    Q_UNUSED(file);
    Q_UNUSED(path);
#endif
}

// A size as people read it: "64 MB".
QString sizeText(qint64 bytes)
{
    return QLocale::c().formattedDataSize(bytes, 0, QLocale::DataSizeTraditionalFormat);
}

FileBytes readOpened(QFile &file, qint64 limit)
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

} // namespace

FileBytes readWholeFile(const QString &path, qint64 limit)
{
    QFile file;
    if (const QString problem = openForReading(file, path); !problem.isEmpty())
        return {{}, problem};
    return readOpened(file, limit);
}

FileBytes readOwnFile(const QString &path, qint64 limit)
{
    QFile file;
    if (const QString problem = openOwnForReading(file, path); !problem.isEmpty())
        return {{}, problem};
    return readOpened(file, limit);
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

FileWrite writeAtomically(const QString &path, const Producer &content)
{
    // The save file copies the permissions as this user sees them (for root that adds the owner's
    // write bit), so the file's own bits are put back afterwards. A read-only file is made
    // writable for the moment of the write only: the save file refuses to replace it otherwise.
    constexpr QFileDevice::Permissions kUserBits = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    QFile existing(path);
    const bool exists = existing.exists();
    const QFileDevice::Permissions kept = exists ? existing.permissions() & ~kUserBits : QFileDevice::Permissions();
    const bool readOnly = exists && !(kept & QFileDevice::WriteOwner);
    if (readOnly && !existing.setPermissions(kept | QFileDevice::WriteOwner))
        return {false, QStringLiteral("It was not written: it could not be made writable (%1). The file was left as "
                                      "it was.").arg(existing.errorString())};
    const auto restore = [&]() -> QString {
        QFile target(path);
        if (exists && target.exists() && (target.permissions() & ~kUserBits) != kept && !target.setPermissions(kept))
            return target.errorString();
        // Some file systems take the bits and keep none of them (a Windows disk mounted without them).
        if (readOnly && (QFile::permissions(path) & QFileDevice::WriteOwner))
            return QStringLiteral("its file system does not keep the read-only mark, so it is no longer read-only");
        return {};
    };

    QSaveFile file(path);
    QString error;
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        // The save file words a refusal in its own terms; opening the file itself (without
        // truncating it) gives the system's reason, such as an immutable file's.
        QFile probe(path);
        if (exists && !probe.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
            error = probe.errorString();
    } else if (!content([&file](QByteArrayView chunk) { return file.write(chunk.data(), chunk.size()) == chunk.size(); })
               || !file.flush()) {
        // Checked before commit(): commit() does not report a failed flush of a small payload.
        error = file.errorString();
        file.cancelWriting();
    } else {
        if (exists)
            keepOwner(file, path);
        if (!file.commit())
            error = file.errorString();
    }
    const QString restoreError = restore();
    if (!error.isEmpty())
        return {false, QStringLiteral("It was not written: %1. The file was left as it was.").arg(error)};

    const Comparison check = compareWithFile(path, content);
    if (check.result == Comparison::Failed)
        return {true, QStringLiteral("It was written, but could not be read back to check it: %1.").arg(check.error)};
    if (check.result == Comparison::Different)
        return {true, QStringLiteral("It was written, but the file does not hold what was written (another program "
                                     "may have written it at the same moment). Check it and press Reload.")};
    if (!restoreError.isEmpty())
        return {true, QStringLiteral("It was written, but its permissions could not be set back: %1.").arg(restoreError)};
    return {true, {}};
}

} // namespace tarnwell
