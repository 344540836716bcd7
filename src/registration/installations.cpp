// SPDX-License-Identifier: MIT
#include "registration/installations.h"

#include "files/filecontent.h"
#include "files/fileremoval.h"
#include "files/toolfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tarnwell {

namespace {

constexpr qint64 kFileLimit = 1 << 20;
const char *const kKinds[] = {"default", "steam", "command"};

} // namespace

QString installationsFilePath(const QString &configPath)
{
    return QDir::toNativeSeparators(QFileInfo(configPath).dir().filePath(QStringLiteral("Installations.json")));
}

KnownInstallations readInstallations(const QString &path)
{
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return {};
    KnownInstallations known;
    known.foreign = foreignReason(path);
    const FileBytes file = readWholeFile(path, kFileLimit);
    if (!file.ok()) {
        known.error = file.error;
        known.unreadable = notRegularReason(path).isEmpty() && QFileInfo(path).isFile();
        return known;
    }
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(file.bytes, &parsed);
    if (parsed.error != QJsonParseError::NoError || !document.isObject()) {
        known.error = parsed.error != QJsonParseError::NoError
            ? QStringLiteral("it is not a list Tarnwell can read (%1 at byte %2)").arg(parsed.errorString()).arg(parsed.offset)
            : QStringLiteral("it is not a list Tarnwell can read");
        known.unreadable = true;
        return known;
    }
    for (const QJsonValue &entry : document.object().value(u"installations").toArray()) {
        const QJsonObject object = entry.toObject();
        KnownInstallation item{object.value(u"executable").toString(), {}};
        const QString kind = object.value(u"launch").toString();
        for (int k = 0; k < 3; ++k) {
            if (kind == QLatin1String(kKinds[k]))
                item.launch.kind = LaunchChoice::Kind(k);
        }
        item.launch.commandLine = object.value(u"command").toString();
        if (!item.exePath.isEmpty() && known.items.size() < kKnownInstallations)
            known.items.append(item);
    }
    return known;
}

QString keepAside(const QString &path, QString &error)
{
    const QString name = QFileInfo(path).fileName() + QStringLiteral(".unreadable-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    error = renameAside(path, name);
    return error.isEmpty() ? QDir::toNativeSeparators(QFileInfo(path).dir().filePath(name)) : QString();
}

ListWrite writeInstallations(const QString &path, const QList<KnownInstallation> &items)
{
    QJsonArray entries;
    for (const KnownInstallation &item : items) {
        QJsonObject object{{QStringLiteral("executable"), item.exePath},
                           {QStringLiteral("launch"), QLatin1String(kKinds[item.launch.kind])}};
        if (!item.launch.commandLine.isEmpty())
            object.insert(QStringLiteral("command"), item.launch.commandLine);
        entries.append(object);
    }
    ListWrite result;
    // The player's own list, which could not be read, is never written over: it goes aside first.
    if (readInstallations(path).unreadable) {
        result.keptAs = keepAside(path, result.error);
        if (!result.error.isEmpty())
            return result;
    }
    const QByteArray bytes = QJsonDocument(QJsonObject{{QStringLiteral("installations"), entries}}).toJson();
    result.error = writeToolFile(path, bytes);
    return result;
}

void remember(QList<KnownInstallation> &items, const QString &exePath)
{
    // Where it really is, when it is there: two spellings of one file are one installation.
    const auto resolved = [](const QString &path) {
        const QString real = QFileInfo(path).canonicalFilePath();
        return real.isEmpty() ? QDir::cleanPath(QDir::fromNativeSeparators(path)) : real;
    };
    const QString wanted = resolved(exePath);
    KnownInstallation item{exePath, {}};
    bool found = false;
    for (qsizetype i = items.size() - 1; i >= 0; --i) {
        if (resolved(items[i].exePath) != wanted)
            continue;
        const KnownInstallation taken = items.takeAt(i);
        if (!found || taken.launch.kind != LaunchChoice::Default)
            item.launch = taken.launch; // the newest choice made for it
        found = true;
    }
    items.prepend(item);
    // A list written by hand, or by an older copy, may name another file twice: the newer entry stays.
    QSet<QString> seen{wanted};
    for (qsizetype i = 1; i < items.size();) {
        if (seen.contains(resolved(items[i].exePath)))
            items.removeAt(i);
        else
            seen.insert(resolved(items[i++].exePath));
    }
    while (items.size() > kKnownInstallations)
        items.removeLast();
}

bool samePathText(const QString &a, const QString &b)
{
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity kCase = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity kCase = Qt::CaseSensitive;
#endif
    return QDir::cleanPath(QDir::fromNativeSeparators(a)).compare(QDir::cleanPath(QDir::fromNativeSeparators(b)), kCase)
        == 0;
}

LaunchChoice launchChoice(const QList<KnownInstallation> &items, const QString &exePath)
{
    for (const KnownInstallation &item : items) {
        if (samePathText(item.exePath, exePath))
            return item.launch;
    }
    return {};
}

} // namespace tarnwell
