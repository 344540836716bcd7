// SPDX-License-Identifier: MIT
#include "files/pathcase.h"

#include <QDir>
#include <QFileInfo>

namespace tarnwell {

#ifdef Q_OS_WIN
QString resolveCase(const QString &path)
{
    return path; // the file system already ignores case
}
#else
namespace {

bool existsAsWritten(const QString &path)
{
    // Broken links count as existing names: they are what the directory holds.
    return QFileInfo(path).exists() || QFileInfo(path).isSymLink();
}

QString childPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

} // namespace

QString resolveCase(const QString &path)
{
    if (path.isEmpty() || existsAsWritten(path))
        return path;

    const bool absolute = path.startsWith(QLatin1Char('/'));
    const QStringList parts = path.split(QLatin1Char('/'));
    QString resolved = absolute ? QStringLiteral("/") : QString();
    bool lost = false; // once a part matches nothing, the rest is kept as written
    for (qsizetype i = absolute ? 1 : 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        if (part.isEmpty() && i + 1 < parts.size())
            continue; // doubled separator
        QString next = childPath(resolved, part);
        if (!lost && !part.isEmpty() && part != QLatin1String(".") && part != QLatin1String("..")
            && !existsAsWritten(next)) {
            const QDir folder(resolved.isEmpty() ? QStringLiteral(".") : resolved);
            const QStringList names = folder.entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
            lost = true;
            for (const QString &name : names) {
                if (name.compare(part, Qt::CaseInsensitive) == 0) {
                    next = childPath(resolved, name);
                    lost = false;
                    break;
                }
            }
        }
        resolved = next;
    }
    if (path.endsWith(QLatin1Char('/')) && !resolved.endsWith(QLatin1Char('/')))
        resolved += QLatin1Char('/');
    return resolved;
}
#endif

QString native(const QString &slashed)
{
    return QDir::toNativeSeparators(slashed);
}

bool fileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(resolveCase(path));
    return info.exists() && !info.isDir();
}

} // namespace tarnwell
