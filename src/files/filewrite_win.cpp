// SPDX-License-Identifier: MIT
// Windows: the save file writes beside the target and renames over it when complete; the last look
// at the target comes right before that rename.
#include "files/filecontent.h"

#include <QFile>
#include <QSaveFile>
#include <QThread>

namespace tarnwell {

FileWrite writeAtomically(const QString &path, const Producer &content, const WriteOptions &options)
{
    const FileTarget target = reachFile(path, options.reach);
    const auto notWritten = [](QString why) {
        if (why.endsWith(u'.')) // the system's sentence goes inside this one
            why.chop(1);
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

    // One write and rename. The rename fails while another program holds the target open without
    // sharing its deletion (a virus scanner, a reader of the same list): then it is tried again, a
    // few times within half a second, each with a new last look.
    enum class Step { Done, Failed, RenameRefused, Changed };
    QString error;
    const auto attempt = [&]() -> Step {
        QSaveFile file(target.path);
        if (!file.open(QIODevice::WriteOnly)) {
            error = file.errorString();
            QFile probe(target.path); // the system's own words for a refusal
            if (exists && !probe.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
                error = probe.errorString();
            return Step::Failed;
        }
        if (!content([&file](QByteArrayView chunk) { return file.write(chunk.data(), chunk.size()) == chunk.size(); })
            || !file.flush()) {
            error = file.errorString();
            file.cancelWriting();
            return Step::Failed;
        }
        if (options.expected && !unchangedSince(target.path, *options.expected)) {
            file.cancelWriting(); // the last look, right before the rename
            return Step::Changed;
        }
        if (!file.commit()) {
            error = file.errorString();
            return file.error() == QFileDevice::RenameError && QFile::exists(target.path) ? Step::RenameRefused
                                                                                          : Step::Failed;
        }
        error.clear();
        return Step::Done;
    };
    Step step = attempt();
    for (int wait : {50, 100, 150, 200}) {
        if (step != Step::RenameRefused)
            break;
        QThread::msleep(wait);
        step = attempt();
    }
    const bool changed = step == Step::Changed;
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
