// SPDX-License-Identifier: MIT
#include "maintenance/steamlaunch.h"

#include "files/openfile.h"
#include "files/steamlibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tarnwell {

namespace {

// The game folder as `<library>/steamapps/common/<folder>`: its steamapps folder and folder name.
bool inSteamLibrary(const QString &gameFolder, QString &steamapps, QString &installDir)
{
    QDir folder(gameFolder);
    installDir = folder.dirName();
    if (!folder.cdUp() || folder.dirName().compare(QLatin1String("common"), Qt::CaseInsensitive) != 0
        || !folder.cdUp() || folder.dirName().compare(QLatin1String("steamapps"), Qt::CaseInsensitive) != 0)
        return false;
    steamapps = folder.path();
    return true;
}

} // namespace

QString steamAppId(const QString &gameFolder)
{
    if (gameFolder.isEmpty())
        return {};
    // The folder as named, and where it really lies: a link into a library is recognised too.
    const QString named = QDir::cleanPath(QDir::fromNativeSeparators(gameFolder));
    QStringList candidates{named};
    if (const QString real = QFileInfo(named).canonicalFilePath(); !real.isEmpty() && real != named)
        candidates << real;
    for (const QString &candidate : candidates) {
        QString steamapps, installDir, id;
        if (!inSteamLibrary(candidate, steamapps, installDir))
            continue;
        forEachSteamApp(steamapps, [&](const SteamApp &app) {
            if (app.installDir.compare(installDir, Qt::CaseInsensitive) != 0 || app.appId.isEmpty())
                return true;
            id = app.appId;
            return false;
        });
        if (!id.isEmpty())
            return id;
    }
    return {};
}

bool isStartableProgram(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isExecutable())
        return false;
    QFile file;
    // A program that may be run but not read cannot be examined; the system decides when it starts it.
    return !openForReading(file, path).isEmpty() || file.read(2) != "MZ";
}

bool needsCompatibilityLayer(const QString &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return false;
#else
    QFile file;
    // Only a regular file is opened: a named pipe in its place would never answer.
    return openForReading(file, path).isEmpty() && file.read(2) == "MZ";
#endif
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
