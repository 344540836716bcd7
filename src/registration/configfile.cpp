// SPDX-License-Identifier: MIT
#include "registration/configfile.h"

#include "files/filecontent.h"
#include "files/pathcase.h"
#include "files/safepath.h"
#include "files/toolfiles.h"
#include "registration/installations.h"
#include "registration/legacytext.h"

#include <QDir>
#include <QFileInfo>

namespace tarnwell {

namespace {
constexpr qsizetype kKeyLength = 7; // "QVXEXE="
// One line with one path: a megabyte is far more than any path.
constexpr qint64 kConfigFileLimit = 1 << 20;
} // namespace

StoredPath parseStoredPath(const QByteArray &content)
{
    if (content.isEmpty())
        return {StoredPath::Status::Empty, QString(), QString()};
    const QString text = decodeToolText(content);
    qsizetype end = 0;
    while (end < text.size() && text.at(end) != QLatin1Char('\r') && text.at(end) != QLatin1Char('\n'))
        ++end;
    return {StoredPath::Status::Found, text.left(end).mid(kKeyLength), QString()};
}

StoredPath readStoredPath(const QString &configPath)
{
    const QString onDisk = resolveCase(configPath);
    if (!QFileInfo::exists(onDisk))
        return {StoredPath::Status::Missing, QString(), QString()};
    const FileBytes file = readWholeFile(onDisk, kConfigFileLimit);
    if (!file.ok())
        return {StoredPath::Status::Failed, QString(), file.error};
    StoredPath stored = parseStoredPath(file.bytes);
    stored.foreign = foreignReason(onDisk);
    return stored;
}

QString storedPathProblem(const QString &exePath)
{
    for (const QChar c : exePath) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return QStringLiteral("it holds a line break");
        // A tab breaks neither the line nor a path; folders may be named with one.
        if (c.category() == QChar::Other_Control && c != QLatin1Char('\t'))
            return QStringLiteral("it holds a control character (U+%1)")
                .arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0')));
    }
    return QString();
}

StoredWrite writeStoredPath(const QString &configPath, const QString &exePath)
{
    StoredWrite result;
    // A line break would end the one line early: the next start would read a shorter path.
    if (const QString problem = storedPathProblem(exePath); !problem.isEmpty()) {
        result.error = problem;
        return result;
    }
    const QString target = resolveCase(configPath);
    // What the player had there and the tool cannot read is theirs: it goes aside, not under.
    if (readStoredPath(target).status == StoredPath::Status::Failed && QFileInfo(target).isFile()
        && notRegularReason(target).isEmpty()) {
        result.keptAs = keepAside(target, result.error);
        if (!result.error.isEmpty())
            return result;
    }
    result.error = writeToolFile(target, "QVXEXE=" + exePath.toUtf8() + "\r\n");
    return result;
}

} // namespace tarnwell
