// SPDX-License-Identifier: MIT
// Windows: the save file writes beside the target and renames over it when complete; the last look
// at the target comes right before that rename.
#include "files/filecontent.h"

#include <QFile>
#include <QSaveFile>

namespace tarnwell {

FileWrite writeAtomically(const QString &path, const Producer &content, const WriteOptions &options)
{
    const FileTarget target = reachFile(path, options.reach);
    const auto notWritten = [](const QString &why) {
        return FileWrite{false, QStringLiteral("It was not written: %1. The file was left as it was.").arg(why), why};
    };
    if (!target.ok())
        return notWritten(target.problem);
    removeStaleTemporaries(target.folder);
    // The save file refuses to replace a read-only file: it is made writable for the moment of the
    // write only, and its own bits are put back afterwards.
    constexpr QFileDevice::Permissions kUserBits = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    QFile existing(target.path);
    const bool exists = existing.exists();
    const QFileDevice::Permissions kept = exists ? existing.permissions() & ~kUserBits : QFileDevice::Permissions();
    const bool readOnly = exists && !(kept & QFileDevice::WriteOwner);
    if (readOnly && !existing.setPermissions(kept | QFileDevice::WriteOwner))
        return notWritten(QStringLiteral("it could not be made writable (%1)").arg(existing.errorString()));
    const auto restore = [&]() -> QString {
        QFile placed(target.path);
        if (exists && placed.exists() && (placed.permissions() & ~kUserBits) != kept && !placed.setPermissions(kept))
            return placed.errorString();
        return {};
    };

    QSaveFile file(target.path);
    QString error;
    bool changed = false;
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        QFile probe(target.path); // the system's own words for a refusal
        if (exists && !probe.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
            error = probe.errorString();
    } else if (!content([&file](QByteArrayView chunk) { return file.write(chunk.data(), chunk.size()) == chunk.size(); })
               || !file.flush()) {
        error = file.errorString();
        file.cancelWriting();
    } else if (options.expected && !unchangedSince(target.path, *options.expected)) {
        changed = true; // the last look, right before the rename
        file.cancelWriting();
    } else if (!file.commit()) {
        error = file.errorString();
    }
    const QString restoreError = restore();
    if (changed)
        return {false, {}, {}, true};
    if (!error.isEmpty())
        return notWritten(error);
    const Comparison check = compareWithFile(target.path, content);
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
