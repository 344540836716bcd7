// SPDX-License-Identifier: MIT
#include "registration/configfile.h"

#include "files/pathcase.h"
#include "registration/legacytext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tarnwell {

namespace {
constexpr qsizetype kKeyLength = 7; // "QVXEXE="
} // namespace

StoredPath readStoredPath(const QString &configPath)
{
    const QString onDisk = resolveCase(configPath);
    const QFileInfo info(onDisk);
    if (!info.exists() || info.isDir())
        return {StoredPath::Status::Missing, QString(), QString()};
    QFile file(onDisk);
    if (!file.open(QIODevice::ReadOnly))
        return {StoredPath::Status::Failed, QString(), file.errorString()};
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {StoredPath::Status::Failed, QString(), file.errorString()};
    if (content.isEmpty())
        return {StoredPath::Status::Empty, QString(), QString()};

    const QString text = decodeToolText(content);
    qsizetype end = 0;
    while (end < text.size() && text.at(end) != QLatin1Char('\r') && text.at(end) != QLatin1Char('\n'))
        ++end;
    return {StoredPath::Status::Found, text.left(end).mid(kKeyLength), QString()};
}

QString writeStoredPath(const QString &configPath, const QString &exePath)
{
    // The per-user folder may not exist yet; a failure shows as the save's own error below.
    const QString target = resolveCase(configPath);
    QDir().mkpath(QFileInfo(target).absolutePath());
    // QSaveFile writes beside the old file and renames over it, so a failed write leaves the old one whole.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QByteArray line = "QVXEXE=" + exePath.toUtf8() + "\r\n";
    if (file.write(line) != line.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return why;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

} // namespace tarnwell
