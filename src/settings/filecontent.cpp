// SPDX-License-Identifier: MIT
#include "settings/filecontent.h"

#include <QFile>
#include <QSaveFile>

#include <cstring>

namespace tarnwell {

namespace {

constexpr qsizetype kChunk = 1 << 20;

} // namespace

FileBytes readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
    return {std::move(bytes), {}};
}

Comparison compareWithFile(const QString &path, QByteArrayView expected)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {Comparison::Failed, file.errorString()};
    if (file.size() != expected.size())
        return {Comparison::Different, {}};
    QByteArray chunk(std::min(kChunk, std::max<qsizetype>(expected.size(), 1)), Qt::Uninitialized);
    qsizetype at = 0;
    for (;;) {
        const qint64 got = file.read(chunk.data(), chunk.size());
        if (got < 0)
            return {Comparison::Failed, file.errorString()};
        if (got == 0)
            break;
        if (at + got > expected.size() || std::memcmp(chunk.constData(), expected.data() + at, size_t(got)) != 0)
            return {Comparison::Different, {}};
        at += got;
    }
    return {at == expected.size() ? Comparison::Same : Comparison::Different, {}};
}

FileWrite writeAtomically(const QString &path, QByteArrayView content)
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
    } else if (file.write(content.data(), content.size()) != content.size() || !file.flush()) {
        // Checked before commit(): commit() does not report a failed flush of a small payload.
        error = file.errorString();
        file.cancelWriting();
    } else if (!file.commit()) {
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
        return {true, QStringLiteral("It was written, but could not be made read-only again: %1.").arg(restoreError)};
    return {true, {}};
}

} // namespace tarnwell
