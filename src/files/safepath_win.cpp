// SPDX-License-Identifier: MIT
// Windows: no folder descriptors to walk with; the user's own folders are other users' only by
// their access lists, which the system itself enforces. What is never written over is checked here.
#include "files/safepath.h"

#include "files/openfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tarnwell {

WalkedFolder::~WalkedFolder() = default;

WalkedFolder::WalkedFolder(WalkedFolder &&other) noexcept
    : m_handle(std::exchange(other.m_handle, -1))
    , m_path(std::move(other.m_path))
{
}

WalkedFolder &WalkedFolder::operator=(WalkedFolder &&other) noexcept
{
    m_handle = std::exchange(other.m_handle, -1);
    m_path = std::move(other.m_path);
    return *this;
}

FileTarget reachFile(const QString &path, Reach reach)
{
    FileTarget target;
    const QFileInfo info(path);
    target.path = QDir::toNativeSeparators(info.absoluteFilePath());
    if (reach == Reach::ToolWrite)
        QDir().mkpath(info.absolutePath());
    if (!QFileInfo(info.absolutePath()).isDir()) {
        target.problem = QStringLiteral("the folder %1 does not exist").arg(QDir::toNativeSeparators(info.absolutePath()));
        return target;
    }
    target.exists = info.exists();
    if (const QString odd = notRegularReason(target.path); !odd.isEmpty()) {
        target.problem = odd;
        return target;
    }
    target.folder = WalkedFolder(WalkedFolder::kPathOnly, QDir::toNativeSeparators(info.absolutePath()));
    target.name = info.fileName();
    return target;
}

WalkedFolder reachFolder(const QString &path, QString &problem, bool make)
{
    if (make)
        QDir().mkpath(path);
    if (!QFileInfo(path).isDir()) {
        problem = QStringLiteral("the folder is not there");
        return {};
    }
    return WalkedFolder(WalkedFolder::kPathOnly, QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

QString foreignReason(const QString &)
{
    return {};
}

QStringList filesIn(const WalkedFolder &folder)
{
    QStringList names;
    for (const QFileInfo &entry : QDir(folder.path()).entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!entry.isSymLink())
            names << entry.fileName();
    }
    return names;
}

void removeStaleTemporaries(const WalkedFolder &folder)
{
    // Matched by hand: a name filter is a regular expression, whose per-thread clean-up hangs a
    // MinGW build at exit when it ran on a worker.
    const QDateTime minuteAgo = QDateTime::currentDateTimeUtc().addSecs(-60);
    const QDir dir(folder.path());
    for (const QFileInfo &entry : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (entry.fileName().startsWith(QLatin1String(kTemporaryPrefix)) && entry.lastModified().toUTC() < minuteAgo)
            QFile::remove(entry.filePath());
    }
}

} // namespace tarnwell
