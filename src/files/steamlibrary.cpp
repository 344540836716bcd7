// SPDX-License-Identifier: MIT
#include "files/steamlibrary.h"

#include "files/folderlisting.h"
#include "files/keyvalues.h"

#include <QDir>

#include <algorithm>

namespace tarnwell {

bool isSteamAppId(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool isManifestName(QStringView name)
{
    // Matched by hand, not by a name filter: that one is a regular expression, and a regular expression
    // on a worker thread leaves a per-thread stack behind that hangs a MinGW build at exit.
    return name.startsWith(QLatin1String("appmanifest_"), Qt::CaseInsensitive)
        && name.endsWith(QLatin1String(".acf"), Qt::CaseInsensitive);
}

SteamApp readSteamApp(const QString &steamapps, const QString &name)
{
    const KeyValuesFile manifest = readKeyValuesFile(QDir(steamapps).filePath(name), kManifestLimit);
    const KeyValues state = manifest.root.blocks.isEmpty() ? KeyValues() : manifest.root.blocks.first().second;
    SteamApp app{state.value(u"appid"), state.value(u"installdir")};
    if (!isSteamAppId(app.appId)) {
        const QString fromName = name.mid(12, name.size() - 16);
        app.appId = isSteamAppId(fromName) ? fromName : QString();
    }
    return app;
}

void forEachSteamApp(const QString &steamapps, const std::function<bool(const SteamApp &app)> &visit)
{
    int read = 0;
    for (const FolderEntry &entry : listFolder(steamapps).entries) {
        if (entry.kind != FolderEntry::File || !isManifestName(entry.name))
            continue;
        if (++read > kManifestsRead || !visit(readSteamApp(steamapps, entry.name)))
            return;
    }
}

} // namespace tarnwell
