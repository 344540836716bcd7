// SPDX-License-Identifier: MIT
#include "maintenance/steamlaunch.h"

#include "files/filecontent.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace tarnwell {

namespace {

constexpr qint64 kManifestLimit = 1 << 20; // manifests are a few kilobytes; anything larger is not one
constexpr int kManifestsRead = 4096;

bool isDigits(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

QByteArray quotedToken(QByteArrayView text, qsizetype &at)
{
    QByteArray token;
    for (++at; at < text.size() && text[at] != '"'; ++at) {
        char c = text[at];
        if (c == '\\' && at + 1 < text.size()) {
            c = text[++at];
            c = c == 'n' ? '\n' : c == 't' ? '\t' : c;
        }
        token += c;
    }
    ++at; // the closing quote, or past the end of an unclosed token
    return token;
}

QByteArray bareToken(QByteArrayView text, qsizetype &at)
{
    const qsizetype start = at;
    while (at < text.size() && !QChar::isSpace(uchar(text[at])) && text[at] != '{' && text[at] != '}'
           && text[at] != '"')
        ++at;
    return text.sliced(start, at - start).toByteArray();
}

} // namespace

QHash<QString, QString> topLevelValues(QByteArrayView text)
{
    QHash<QString, QString> values;
    int depth = 0;
    std::optional<QByteArray> key;
    for (qsizetype at = 0; at < text.size();) {
        const char c = text[at];
        if (QChar::isSpace(uchar(c))) {
            ++at;
        } else if (c == '/' && text.sliced(at).startsWith("//")) {
            while (at < text.size() && text[at] != '\n')
                ++at;
        } else if (c == '{' || c == '}') {
            depth += c == '{' ? 1 : -1;
            key.reset();
            ++at;
        } else {
            const QByteArray token = c == '"' ? quotedToken(text, at) : bareToken(text, at);
            if (depth != 1)
                continue;
            if (!key)
                key = token;
            else
                values.insert(QString::fromUtf8(*std::exchange(key, std::nullopt)).toLower(), QString::fromUtf8(token));
        }
    }
    return values;
}

QString steamAppId(const QString &gameFolder)
{
    if (gameFolder.isEmpty())
        return {};
    QDir folder(QDir::cleanPath(QDir::fromNativeSeparators(gameFolder)));
    const QString installDir = folder.dirName();
    if (!folder.cdUp() || folder.dirName().compare(QLatin1String("common"), Qt::CaseInsensitive) != 0
        || !folder.cdUp() || folder.dirName().compare(QLatin1String("steamapps"), Qt::CaseInsensitive) != 0)
        return {};

    QStringList manifests = folder.entryList({QStringLiteral("appmanifest_*.acf")}, QDir::Files, QDir::Name);
    manifests = manifests.mid(0, kManifestsRead);
    for (const QString &name : manifests) {
        const QString path = folder.filePath(name);
        const FileBytes manifest = readWholeFile(path, kManifestLimit);
        const QHash<QString, QString> values = topLevelValues(manifest.bytes);
        if (!manifest.ok() || values.value(QStringLiteral("installdir")).compare(installDir, Qt::CaseInsensitive) != 0)
            continue;
        // The id inside the manifest is the one Steam goes by; the file name is the fallback.
        const QString id = values.value(QStringLiteral("appid"));
        const QString fromName = name.mid(12, name.size() - 16);
        if (isDigits(id) || isDigits(fromName))
            return isDigits(id) ? id : fromName;
    }
    return {};
}

bool isStartableProgram(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isExecutable())
        return false;
    QFile file(path);
    // A program that may be run but not read cannot be examined; the system decides when it starts it.
    return !file.open(QIODevice::ReadOnly) || file.read(2) != "MZ";
}

LaunchPlan planLaunch(const QString &exePath, const QString &gameFolder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(exePath);
    Q_UNUSED(gameFolder);
    return {};
#else
    if (isStartableProgram(exePath))
        return {};
    const QString id = steamAppId(gameFolder);
    if (id.isEmpty())
        return {LaunchPlan::NeedsCompatibilityLayer, {}};
    return {LaunchPlan::Steam, id};
#endif
}

} // namespace tarnwell
