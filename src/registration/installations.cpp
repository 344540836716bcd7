// SPDX-License-Identifier: MIT
#include "registration/installations.h"

#include "files/filecontent.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

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
    if (!QFileInfo::exists(path))
        return {};
    const FileBytes file = readWholeFile(path, kFileLimit);
    if (!file.ok())
        return {{}, file.error};
    KnownInstallations known;
    for (const QJsonValue &entry : QJsonDocument::fromJson(file.bytes).object().value(u"installations").toArray()) {
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

QString writeInstallations(const QString &path, const QList<KnownInstallation> &items)
{
    QJsonArray entries;
    for (const KnownInstallation &item : items) {
        QJsonObject object{{QStringLiteral("executable"), item.exePath},
                           {QStringLiteral("launch"), QLatin1String(kKinds[item.launch.kind])}};
        if (!item.launch.commandLine.isEmpty())
            object.insert(QStringLiteral("command"), item.launch.commandLine);
        entries.append(object);
    }
    const QByteArray bytes = QJsonDocument(QJsonObject{{QStringLiteral("installations"), entries}}).toJson();
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Written beside the old file and renamed over it: a failed write leaves the old one whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return why;
    }
    return file.commit() ? QString() : file.errorString();
}

void remember(QList<KnownInstallation> &items, const QString &exePath)
{
    KnownInstallation item{exePath, {}};
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i].exePath == exePath)
            item = items.takeAt(i);
    }
    items.prepend(item);
    while (items.size() > kKnownInstallations)
        items.removeLast();
}

LaunchChoice launchChoice(const QList<KnownInstallation> &items, const QString &exePath)
{
    for (const KnownInstallation &item : items) {
        if (item.exePath == exePath)
            return item.launch;
    }
    return {};
}

} // namespace tarnwell
