// SPDX-License-Identifier: MIT
#include "maintenance/filedeletion.h"

#include "files/fileremoval.h"
#include "files/pathcase.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace tarnwell {

namespace {

// Names beginning with a dot on Unix; the hidden or system attribute on Windows.
bool isHiddenOrSystem(const QFileInfo &info)
{
#ifdef Q_OS_WIN
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t *>(
        QDir::toNativeSeparators(info.filePath()).utf16()));
    return attributes != INVALID_FILE_ATTRIBUTES
        && (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
#else
    return info.fileName().startsWith(QLatin1Char('.'));
#endif
}

QString files(int count)
{
    return count == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(count);
}

// More than a report can name; the rest are counted.
constexpr int kFoldersNamed = 20;

KeptFolder keptFolder(const QFileInfo &info)
{
    KeptFolder kept{info.fileName(), 0, info.isSymLink()};
    if (kept.link)
        return kept;
    QDirIterator below(info.filePath(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (below.hasNext()) {
        below.next();
        ++kept.files;
    }
    return kept;
}

QString keptFolders(const QList<KeptFolder> &folders)
{
    QString text = QStringLiteral("\n\nThese folders were left there with what they hold: only the files directly in "
                                  "the folder are deleted.");
    for (const KeptFolder &folder : folders.mid(0, kFoldersNamed)) {
        const QString held = folder.link ? QStringLiteral("a link to a folder")
            : folder.files == 0          ? QStringLiteral("empty")
                                         : files(folder.files);
        text += QStringLiteral("\n%1%2 (%3)").arg(folder.name, QDir::separator(), held);
    }
    if (folders.size() > kFoldersNamed)
        text += QStringLiteral("\nand %1 more").arg(folders.size() - kFoldersNamed);
    return text;
}

} // namespace

DeleteResult deleteFile(const QString &path)
{
    DeleteResult result;
    const QString problem = path.isEmpty() ? QStringLiteral("no file was named") : removeFile(resolveCase(path));
    if (problem.isEmpty())
        result.deleted = 1;
    else
        result.failures.append({path, problem});
    return result;
}

DeleteResult deleteAllFilesIn(const QString &folder)
{
    DeleteResult result;
    const QString resolved = resolveCase(folder);
    if (folder.isEmpty() || !QFileInfo(resolved).isDir()) {
        result.failures.append({folder, QStringLiteral("the folder is not there")});
        return result;
    }
    // The files go from the folder as it was checked, whatever is put in its place meanwhile.
    QString refused;
    const WalkedFolder walked = reachFolder(resolved, refused);
    if (!walked.isOpen()) {
        result.failures.append({folder, refused});
        return result;
    }
    // System takes in broken links and other odd entries, which are files to the user too.
    const QFileInfoList entries = QDir(resolved).entryInfoList(
        QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir()) {
            result.foldersKept.append(keptFolder(entry));
            continue;
        }
        if (isHiddenOrSystem(entry)) {
            ++result.hiddenKept;
            continue;
        }
        // isDir() follows links: a link to a folder is left alone, and so is everything behind it.
        const QString problem = entry.isDir() ? QStringLiteral("it is a folder") : removeIn(walked, entry.fileName());
        if (problem.isEmpty())
            ++result.deleted;
        else
            result.failures.append({entry.fileName(), problem});
    }
    return result;
}

QString folderDeletionReport(const QString &folder, const DeleteResult &result)
{
    QString report = QStringLiteral("Deleted %1 from\n%2").arg(files(result.deleted), QDir::toNativeSeparators(folder));
    if (!result.ok()) {
        report += QStringLiteral("\n\nThese could not be deleted:");
        for (const DeleteFailure &failure : result.failures)
            report += QStringLiteral("\n%1: %2").arg(failure.name, failure.reason);
    }
    if (!result.foldersKept.isEmpty())
        report += keptFolders(result.foldersKept);
    if (result.hiddenKept == 1)
        report += QStringLiteral("\n\n1 hidden file was left there: hidden and system files are kept.");
    else if (result.hiddenKept > 1)
        report += QStringLiteral("\n\n%1 hidden files were left there: hidden and system files are kept.")
                      .arg(result.hiddenKept);
    return report;
}

} // namespace tarnwell
