// SPDX-License-Identifier: MIT
#include "files/steamlibrary.h"

#include "files/keyvalues.h"

#include <QDir>

#include <algorithm>

namespace tarnwell {

bool isSteamAppId(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

void forEachSteamApp(const QString &steamapps, const std::function<bool(const SteamApp &app)> &visit)
{
    const QDir folder(steamapps);
    // Matched by hand, not by a name filter: that one is a regular expression, and a regular expression
    // on a worker thread leaves a per-thread stack behind that hangs a MinGW build at exit.
    QStringList names = folder.entryList(QDir::Files, QDir::Name);
    names.removeIf([](const QString &name) {
        return !name.startsWith(QLatin1String("appmanifest_"), Qt::CaseInsensitive)
            || !name.endsWith(QLatin1String(".acf"), Qt::CaseInsensitive);
    });
    names = names.mid(0, kManifestsRead);
    for (const QString &name : names) {
        const KeyValuesFile manifest = readKeyValuesFile(folder.filePath(name), kManifestLimit);
        const KeyValues state = manifest.root.blocks.isEmpty() ? KeyValues() : manifest.root.blocks.first().second;
        SteamApp app{state.value(u"appid"), state.value(u"installdir")};
        if (!isSteamAppId(app.appId)) {
            const QString fromName = name.mid(12, name.size() - 16);
            app.appId = isSteamAppId(fromName) ? fromName : QString();
        }
        if (!visit(app))
            return;
    }
}

} // namespace tarnwell
