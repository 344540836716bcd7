// SPDX-License-Identifier: MIT
#include "settings/profile.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace tarnwell {

QByteArray profileJson(const Profile &profile)
{
    QJsonObject settings;
    for (auto it = profile.values.cbegin(); it != profile.values.cend(); ++it)
        settings.insert(it.key(), it.value());
    QJsonObject root{{QStringLiteral("format"), kProfileFormat},
                     {QStringLiteral("name"), profile.name},
                     {QStringLiteral("settings"), settings}};
    if (!profile.game.isEmpty())
        root.insert(QStringLiteral("game"), profile.game);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QString textPosition(const QByteArray &bytes, int offset)
{
    // The parser's offset lies just past the character it stopped at: that character is named.
    const QByteArray before = bytes.left(qMax(0, offset - 1));
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    return QStringLiteral("line %1, column %2").arg(before.count('\n') + 1).arg(before.size() - lineStart + 1);
}

ParsedProfile parseProfile(const QByteArray &bytes, const QString &fallbackName)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return {{}, QStringLiteral("It is not valid JSON: %1 at %2.").arg(error.errorString(), textPosition(bytes, error.offset))};
    const QJsonObject root = document.object();
    if (!document.isObject() || !root.value(u"settings").isObject())
        return {{}, QStringLiteral("It is no profile: it holds no \"settings\" object.")};
    if (root.contains(u"format") && root.value(u"format").toString() != kProfileFormat)
        return {{}, QStringLiteral("It is no profile of this Tarnwell: its \"format\" is not \"%1\".").arg(kProfileFormat)};
    ParsedProfile parsed;
    parsed.profile.name = root.value(u"name").toString(fallbackName);
    parsed.profile.game = root.value(u"game").toString();
    const QJsonObject settings = root.value(u"settings").toObject();
    QStringList notText;
    for (auto it = settings.constBegin(); it != settings.constEnd(); ++it) {
        // A number would lose how the file writes it (0.50 is not 0.5): values are texts.
        if (!it.value().isString())
            notText << it.key();
        parsed.profile.values.insert(it.key(), it.value().toString());
    }
    if (!notText.isEmpty())
        parsed.problem = QStringLiteral("The values of %1 are not in double quotes: every value is a text, as the "
                                        "game's file holds it (\"0.50\", \"true\").")
                             .arg(notText.join(QStringLiteral(", ")));
    return parsed;
}

QString profileNameProblem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("is empty");
    if (name.size() > kProfileNameLimit)
        return QStringLiteral("is longer than %1 characters").arg(kProfileNameLimit);
    for (const QChar c : name) {
        if (QStringLiteral("/\\:*?\"<>|").contains(c))
            return QStringLiteral("holds \"%1\", which a file name cannot hold").arg(c);
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("holds a control character");
    }
    if (name.front().isSpace() || name.back().isSpace() || name.back() == QLatin1Char('.'))
        return QStringLiteral("begins or ends with a blank, or ends with a dot, which Windows drops from file names");
    if (name.front() == QLatin1Char('.'))
        return QStringLiteral("begins with a dot, which hides a file");
    static const QRegularExpression device(QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (device.match(name).hasMatch())
        return QStringLiteral("is a name that Windows keeps for a device");
    if (name.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("is kept for --profile auto, which picks a profile by the power supply");
    return {};
}

} // namespace tarnwell
