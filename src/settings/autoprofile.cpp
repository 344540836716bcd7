// SPDX-License-Identifier: MIT
#include "settings/autoprofile.h"

#include "files/filecontent.h"
#include "files/pathcase.h"
#include "settings/profile.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

namespace tarnwell {

QString autoRulesPath(const QString &toolFolder)
{
    return QDir::toNativeSeparators(toolFolder + QStringLiteral("/auto-profile.json"));
}

AutoChoice autoProfile(const QString &toolFolder, PowerSource source)
{
    const QString path = autoRulesPath(toolFolder);
    if (!fileExists(path)) {
        return {{}, QStringLiteral("--profile auto has no rules: write them into %1, such as {\"battery\": "
                                   "\"Handheld\", \"mains\": \"Docked\", \"default\": \"Docked\"}.")
                        .arg(path)};
    }
    const FileBytes file = readWholeFile(path, kProfileFileLimit);
    if (!file.ok())
        return {{}, QStringLiteral("%1 cannot be read: %2.").arg(path, file.error), true};
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        const QString why = error.error != QJsonParseError::NoError
            ? QStringLiteral("%1 at %2").arg(error.errorString(), textPosition(file.bytes, error.offset))
            : QStringLiteral("it holds no JSON object");
        return {{}, QStringLiteral("%1 cannot be read as rules: %2.").arg(path, why), true};
    }
    const QJsonObject rules = document.object();
    const char *key = source == PowerSource::Battery ? "battery" : source == PowerSource::Mains ? "mains" : "default";
    QString name = rules.value(QLatin1String(key)).toString();
    if (name.isEmpty())
        name = rules.value(u"default").toString();
    if (name.isEmpty()) {
        const char *state = source == PowerSource::Battery ? "on battery"
            : source == PowerSource::Mains                  ? "on mains power"
                                                            : "with an unknown power source";
        return {{}, QStringLiteral("%1 names no profile for a machine %2, and no \"default\".").arg(path, QLatin1String(state))};
    }
    return {name, {}};
}

} // namespace tarnwell
