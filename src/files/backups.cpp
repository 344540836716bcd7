// SPDX-License-Identifier: MIT
#include "files/backups.h"

#include "files/filecontent.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

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

QString writeWhole(const QString &path, QByteArrayView bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush()
        || !file.commit())
        return file.errorString();
    return {};
}

std::optional<Backup> readNote(const QString &notePath)
{
    const FileBytes note = readWholeFile(notePath, kNoteLimit);
    const QStringList lines = QString::fromUtf8(note.bytes).split(QLatin1Char('\n'));
    Backup backup;
    backup.file = notePath.chopped(kNoteSuffix.size());
    backup.original = lines.value(0);
    backup.time = QDateTime::fromString(lines.value(1), Qt::ISODateWithMs);
    if (!note.ok() || backup.original.isEmpty() || !backup.time.isValid() || !QFileInfo(backup.file).isFile())
        return std::nullopt;
    backup.game = gameOf(backup.original);
    return backup;
}

void dropOldest(const QString &folder, const QString &original)
{
    int kept = 0;
    for (const Backup &backup : listBackups(folder)) {
        if (backup.original != original || ++kept <= kBackupsKept)
            continue;
        // The note goes first: a copy without its note is never offered again.
        QFile::remove(backup.file + kNoteSuffix);
        QFile::remove(backup.file);
    }
}

} // namespace

BackupResult backUpFile(const QString &folder, const QString &original)
{
    const QString source = QFileInfo(original).absoluteFilePath();
    const auto failed = [&](QString reason) {
        // Windows words its reasons as sentences; the message ends the sentence itself.
        if (reason.endsWith(QLatin1Char('.')))
            reason.chop(1);
        return BackupResult{{}, QStringLiteral("No backup of it could be kept in %1: %2.")
                                    .arg(QDir::toNativeSeparators(folder), reason)};
    };
    const FileBytes bytes = readWholeFile(source, kSettingsFileLimit);
    if (!bytes.ok())
        return failed(bytes.error);
    QDir().mkpath(folder); // a failure shows in the write below, with the system's reason

    // Names differ by the millisecond; two copies within one are a millisecond apart.
    QDateTime time = QDateTime::currentDateTimeUtc();
    QString file;
    do {
        file = QDir(folder).filePath(QStringLiteral("%1 %2 %3")
                                         .arg(gameOf(source), time.toLocalTime().toString(kNameTime),
                                              QFileInfo(source).fileName()));
        time = time.addMSecs(1);
    } while (QFileInfo::exists(file) || QFileInfo::exists(file + kNoteSuffix));
    time = time.addMSecs(-1);

    QString error = writeWhole(file, bytes.bytes);
    if (error.isEmpty())
        error = writeWhole(file + kNoteSuffix, (source + QLatin1Char('\n') + time.toString(Qt::ISODateWithMs)
                                                + QLatin1Char('\n')).toUtf8());
    if (!error.isEmpty()) {
        QFile::remove(file);
        return failed(error);
    }
    dropOldest(folder, source);
    return {file, {}};
}

QList<Backup> listBackups(const QString &folder)
{
    QList<Backup> backups;
    const QFileInfoList notes = QDir(folder).entryInfoList({QLatin1Char('*') + kNoteSuffix}, QDir::Files);
    for (const QFileInfo &note : notes) {
        if (std::optional<Backup> backup = readNote(note.filePath()))
            backups.append(std::move(*backup));
    }
    std::stable_sort(backups.begin(), backups.end(), [](const Backup &a, const Backup &b) { return a.time > b.time; });
    return backups;
}

RestoreResult restoreBackup(const QString &folder, const Backup &backup)
{
    RestoreResult result;
    const FileBytes bytes = readWholeFile(backup.file, kSettingsFileLimit);
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
