// SPDX-License-Identifier: MIT
// Windows: the save file writes beside the target and renames over it when complete; the last look
// at the target comes right before that rename.
#include "files/filecontent.h"
#include "files/filewrite_p.h"

#include <QFile>
#include <QSaveFile>
#include <QThread>

namespace tarnwell {

namespace {

constexpr QFileDevice::Permissions kUserBits = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;

// The save file refuses to replace a read-only file: it is made writable for the moment of the write
// only, and its own bits are put back afterwards.
class WritableForNow
{
public:
    explicit WritableForNow(const QString &path) : m_path(path)
    {
        QFile existing(path);
        m_exists = existing.exists();
        m_kept = m_exists ? existing.permissions() & ~kUserBits : QFileDevice::Permissions();
        if (m_exists && !(m_kept & QFileDevice::WriteOwner) && !existing.setPermissions(m_kept | QFileDevice::WriteOwner))
            problem = QStringLiteral("it could not be made writable (%1)").arg(existing.errorString());
    }

    bool existed() const { return m_exists; }
    // Puts the file's own bits back; the system's reason when it cannot.
    QString restore() const
    {
        QFile placed(m_path);
        if (m_exists && placed.exists() && (placed.permissions() & ~kUserBits) != m_kept && !placed.setPermissions(m_kept))
            return placed.errorString();
        return {};
    }

    QString problem;

private:
    QString m_path;
    bool m_exists = false;
    QFileDevice::Permissions m_kept;
};

struct Attempt {
    enum Step { Done, Failed, RenameRefused, Changed } step;
    QString error = {};
};

// One write and rename, with the last look right before the rename.
Attempt writeOnce(const QString &path, bool existed, const Producer &content, const WriteOptions &options)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        QFile probe(path); // the system's own words for a refusal
        if (existed && !probe.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
            return {Attempt::Failed, probe.errorString()};
        return {Attempt::Failed, file.errorString()};
    }
    if (!content([&file](QByteArrayView chunk) { return file.write(chunk.data(), chunk.size()) == chunk.size(); })
        || !file.flush()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return {Attempt::Failed, error};
    }
    if (options.expected && !unchangedSince(path, *options.expected)) {
        file.cancelWriting();
        return {Attempt::Changed};
    }
    if (!file.commit()) {
        const bool refused = file.error() == QFileDevice::RenameError && QFile::exists(path);
        return {refused ? Attempt::RenameRefused : Attempt::Failed, file.errorString()};
    }
    return {Attempt::Done};
}

// The rename fails while another program holds the target open without sharing its deletion (a virus
// scanner, a reader of the same list): then it is tried again, a few times within half a second, each
// with a new last look.
Attempt writeRetried(const QString &path, bool existed, const Producer &content, const WriteOptions &options)
{
    Attempt attempt = writeOnce(path, existed, content, options);
    for (const int wait : {50, 100, 150, 200}) {
        if (attempt.step != Attempt::RenameRefused)
            break;
        QThread::msleep(wait);
        attempt = writeOnce(path, existed, content, options);
    }
    return attempt;
}

} // namespace

FileWrite writeAtomically(const QString &path, const Producer &content, const WriteOptions &options)
{
    const FileTarget target = reachFile(path, options.reach);
    if (!target.ok())
        return notWritten(target.problem);
    removeStaleTemporaries(target.folder);
    const WritableForNow writable(target.path);
    if (!writable.problem.isEmpty())
        return notWritten(writable.problem);
    const Attempt attempt = writeRetried(target.path, writable.existed(), content, options);
    const QString restoreError = writable.restore();
    if (attempt.step == Attempt::Changed)
        return {false, {}, {}, true};
    if (attempt.step != Attempt::Done)
        return notWritten(attempt.error);
    if (const FileWrite checked = readBack(compareWithFile(target.path, content)); !checked.ok())
        return checked;
    if (!restoreError.isEmpty())
        return {true, QStringLiteral("It was written, but its permissions could not be set back: %1.").arg(restoreError)};
    return {true, {}};
}

} // namespace tarnwell
