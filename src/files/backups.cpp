// SPDX-License-Identifier: MIT
#include "files/backups.h"

#include "files/backupstore.h"
#include "files/filecontent.h"
#include "files/fileremoval.h"
#include "files/safepath.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace tarnwell {

namespace {

// Beside each copy, a note of where it came from and when: the copy's own name is for people.
const QString kNoteSuffix = QStringLiteral(".origin");
constexpr qint64 kNoteLimit = 64 << 10; // a path and a time
const QString kNameTime = QStringLiteral("yyyy-MM-dd HH.mm.ss.zzz");

// Game folder / Binaries / SETTINGS / file: the game is named by its folder.
QString gameOf(const QString &settingsFile)
{
    QDir folder = QFileInfo(settingsFile).absoluteDir();
    const QString name = folder.cdUp() && folder.cdUp() ? folder.dirName() : QString();
    return name.isEmpty() ? QStringLiteral("game") : name;
}

// At most `bytes` bytes of the name in the file system's encoding, cut between characters: a copy's
// name stays far below the 255 bytes a name may have, however long the game folder's name is.
QString shortened(const QString &name, qsizetype bytes)
{
    QString result = name;
    while (QFile::encodeName(result).size() > bytes)
        result.chop(result.size() > 1 && result.at(result.size() - 1).isLowSurrogate() ? 2 : 1);
    return result;
}

std::optional<Backup> readNote(const WalkedFolder &store, const QString &noteName)
{
    const FileBytes note = readStored(store, noteName, kNoteLimit);
    const QStringList lines = QString::fromUtf8(note.bytes).split(QLatin1Char('\n'));
    const QString copyName = noteName.chopped(kNoteSuffix.size());
    Backup backup;
    backup.file = QDir(store.path()).filePath(copyName);
    backup.original = lines.value(0);
    backup.time = QDateTime::fromString(lines.value(1), Qt::ISODateWithMs);
    QFile copy;
    if (!note.ok() || backup.original.isEmpty() || !backup.time.isValid() || !openStored(store, copyName, copy).isEmpty())
        return std::nullopt;
    backup.game = gameOf(backup.original);
    return backup;
}

QList<Backup> backupsIn(const WalkedFolder &store)
{
    QList<Backup> backups;
    for (const QString &name : filesIn(store)) {
        if (!name.endsWith(kNoteSuffix))
            continue;
        if (std::optional<Backup> backup = readNote(store, name))
            backups.append(std::move(*backup));
    }
    std::stable_sort(backups.begin(), backups.end(), [](const Backup &a, const Backup &b) { return a.time > b.time; });
    return backups;
}

void dropOldest(const WalkedFolder &store, const QString &original)
{
    int kept = 0;
    for (const Backup &backup : backupsIn(store)) {
        if (backup.original != original || ++kept <= kBackupsKept)
            continue;
        // The note goes first: a copy without its note is never offered again.
        const QString name = QFileInfo(backup.file).fileName();
        static_cast<void>(removeIn(store, name + kNoteSuffix));
        static_cast<void>(removeIn(store, name));
    }
}

BackupResult failedIn(const QString &folder, QString reason)
{
    // Windows words its reasons as sentences; the message ends the sentence itself.
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    return {{}, QStringLiteral("No backup of it could be kept in %1: %2.").arg(QDir::toNativeSeparators(folder), reason)};
}

} // namespace

BackupResult backUpBytes(const QString &folder, const QString &original, QByteArrayView bytes)
{
    const QString source = QFileInfo(original).absoluteFilePath();
    QString distrust;
    const WalkedFolder store = openStore(folder, true, distrust);
    if (!store.isOpen())
        return BackupResult{{}, QStringLiteral("No backup of it could be kept in %1.").arg(distrust)};

    // Names differ by the millisecond; two copies within one are a millisecond apart.
    QDateTime time = QDateTime::currentDateTimeUtc();
    for (int attempt = 0; attempt < 1000; ++attempt, time = time.addMSecs(1)) {
        const QString name = QStringLiteral("%1 %2 %3").arg(shortened(gameOf(source), 64),
                                                            time.toLocalTime().toString(kNameTime),
                                                            shortened(QFileInfo(source).fileName(), 64));
        const StoredFile copy = storeNewFile(store, name, bytes);
        if (copy.taken)
            continue;
        if (!copy.ok())
            return failedIn(folder, copy.error);
        const QByteArray note = (source + QLatin1Char('\n') + time.toString(Qt::ISODateWithMs) + QLatin1Char('\n')).toUtf8();
        const StoredFile noted = storeNewFile(store, name + kNoteSuffix, note);
        if (!noted.ok())
            static_cast<void>(removeIn(store, name));
        if (noted.taken)
            continue;
        if (!noted.ok())
            return failedIn(folder, noted.error);
        dropOldest(store, source);
        return {QDir(store.path()).filePath(name), {}};
    }
    return failedIn(folder, QStringLiteral("every name for this moment is taken"));
}

BackupResult backUpFile(const QString &folder, const QString &original)
{
    const FileBytes bytes = readWholeFile(original, kSettingsFileLimit);
    if (!bytes.ok())
        return failedIn(folder, bytes.error);
    return backUpBytes(folder, original, bytes.bytes);
}

BackupList listBackups(const QString &folder)
{
    BackupList list;
    if (!QFileInfo::exists(folder) && !QFileInfo(folder).isSymLink())
        return list;
    // Copies in a folder that others can write could be anybody's.
    QString distrust;
    const WalkedFolder store = openStore(folder, false, distrust);
    if (!store.isOpen()) {
        list.problem = QStringLiteral("The backups cannot be trusted: %1.").arg(distrust);
        return list;
    }
    list.backups = backupsIn(store);
    return list;
}

RestoreResult restoreBackup(const QString &folder, const Backup &backup)
{
    RestoreResult result;
    QString distrust;
    const WalkedFolder store = openStore(folder, false, distrust);
    const FileBytes bytes = store.isOpen() ? readStored(store, QFileInfo(backup.file).fileName(), kSettingsFileLimit)
                                           : FileBytes{{}, distrust};
    if (!bytes.ok()) {
        result.problem = QStringLiteral("The backup %1 could not be read: %2. Nothing was changed.")
                             .arg(QDir::toNativeSeparators(backup.file), bytes.error);
        return result;
    }
    if (QFileInfo(backup.original).isFile()) {
        result.replaced = backUpFile(folder, backup.original);
        if (!result.replaced.ok()) {
            result.problem = result.replaced.problem + QStringLiteral(" Nothing was changed.");
            return result;
        }
    }
    const FileWrite written = writeAtomically(backup.original,
                                              [&bytes](const ChunkSink &sink) { return sink(bytes.bytes); });
    result.problem = written.problem;
    return result;
}

} // namespace tarnwell
