// SPDX-License-Identifier: MIT
#include "registration/discovery.h"

#include "files/filecontent.h"
#include "files/folderlisting.h"
#include "files/keyvalues.h"
#include "files/steamlibrary.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSet>

namespace tarnwell {

namespace {

// Heroic's lists of installed games, below its configuration folder (native and Flatpak).
const char *const kHeroicLists[] = {"legendaryConfig/legendary/installed.json", "gog_store/installed.json",
                                    "nile_config/nile/installed.json", "sideload_apps/library.json"};

// The names of the entries of a kind, in the order of their names: the installations come in the
// same order wherever the system lists a folder's entries in an order of its own.
QStringList byName(const FolderListing &listing, FolderEntry::Kind kind)
{
    QStringList names;
    for (const FolderEntry &entry : listing.entries) {
        if (entry.kind == kind)
            names << entry.name;
    }
    names.sort();
    return names;
}

QString childPath(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

class Search
{
public:
    Search(const DiscoveryLimits &limits, const std::function<bool()> &stop,
           const std::function<void(const Installation &)> &found)
        : m_limits(limits), m_stop(stop), m_foundOne(found)
    {
        m_clock.start();
    }

    Discovery result;

    // The entries of each source count against a budget of its own.
    void beginSource(const QString &source)
    {
        m_source = source;
        m_used = 0;
    }

    bool goOn()
    {
        if (m_used >= m_limits.entries)
            return false;
        if (m_clock.elapsed() >= m_limits.milliseconds) {
            cut(QStringLiteral("after %1 seconds").arg(m_limits.milliseconds / 1000));
            return false;
        }
        return !(m_stop && m_stop());
    }

    // Each folder is looked into once, by where it really is: links and loops lead nowhere twice.
    bool firstVisit(const QString &folder)
    {
        const QString real = QFileInfo(folder).canonicalFilePath();
        if (real.isEmpty() || m_visited.contains(real) || !QFileInfo(real).isDir())
            return false;
        m_visited.insert(real);
        return true;
    }

    void steamRoot(const QString &root)
    {
        if (!goOn() || !firstVisit(root))
            return;
        QStringList libraries{root};
        const QString steamapps = child(root, QStringLiteral("steamapps"), FolderEntry::Folder);
        const FolderEntry *list = steamapps.isEmpty() ? nullptr : appsOf(steamapps).find(QStringLiteral("libraryfolders.vdf"));
        if (list && list->kind == FolderEntry::File)
            libraries << libraryPaths(childPath(steamapps, list->name));
        m_visited.remove(QFileInfo(root).canonicalFilePath()); // the root is its own first library
        for (const QString &library : libraries)
            steamLibrary(library);
    }

    // A game folder: registered when it holds Binaries/QVX.EXE in any letter case.
    void game(const QString &source, const QString &folder)
    {
        const QString binaries = child(folder, QStringLiteral("Binaries"), FolderEntry::Folder);
        const QString exe = binaries.isEmpty() ? QString() : child(binaries, QStringLiteral("QVX.EXE"), FolderEntry::File);
        if (exe.isEmpty())
            return;
        const QString real = QFileInfo(exe).canonicalFilePath();
        if (real.isEmpty() || m_found.contains(real))
            return;
        m_found.insert(real);
        result.found.append({source + QStringLiteral(": ") + QFileInfo(folder).fileName(),
                             QDir::toNativeSeparators(QDir::cleanPath(exe))});
        if (m_foundOne)
            m_foundOne(result.found.last());
    }

    // Every folder directly inside `parent`, each a game folder of `source`.
    void gamesIn(const QString &source, const QString &parent)
    {
        if (!goOn() || !firstVisit(parent))
            return;
        const QStringList names = byName(list(parent), FolderEntry::Folder);
        for (const QString &name : names) {
            if (!goOn())
                return;
            game(source, childPath(parent, name));
        }
    }

    QStringList heroicFolders(const QString &config)
    {
        QStringList folders;
        for (const char *list : kHeroicLists) {
            const FileBytes file = readWholeFile(QDir(config).filePath(QLatin1String(list)), m_limits.listBytes);
            if (file.ok())
                installPaths(QJsonDocument::fromJson(file.bytes).object(), 0, folders);
        }
        return folders;
    }

private:
    // Counts what was looked at; false once the source's budget or the time is spent.
    bool counted(qsizetype entries = 1)
    {
        m_used += entries;
        result.entries += entries;
        if (m_used >= m_limits.entries)
            cut(QStringLiteral("after %1 folder entries and manifests").arg(QLocale(QLocale::English).toString(m_limits.entries)));
        return goOn();
    }

    void cut(const QString &why)
    {
        const QString line = m_source + QStringLiteral(": ") + why;
        if (!result.cutShort.contains(line))
            result.cutShort << line;
    }

    // The folder's entries, never more than the source has left to look at.
    FolderListing list(const QString &folder)
    {
        FolderListing listing = listFolder(folder, std::max(0, m_limits.entries - m_used), m_stop);
        counted(listing.entries.size() + (listing.cut ? 1 : 0));
        return listing;
    }

    // The entry of that name in any letter case, of the kind asked for (links followed); empty if none.
    QString child(const QString &folder, const QString &name, FolderEntry::Kind kind)
    {
        const FolderIndex index(list(folder));
        const FolderEntry *entry = index.find(name);
        return entry && entry->kind == kind ? childPath(folder, entry->name) : QString();
    }

    // The libraries a libraryfolders.vdf names: "path" in each numbered block, or, in older files,
    // the numbered values themselves.
    QStringList libraryPaths(const QString &vdf)
    {
        QStringList paths;
        const KeyValuesFile file = readKeyValuesFile(vdf, m_limits.listBytes);
        const KeyValues folders = file.root.blocks.isEmpty() ? KeyValues() : file.root.blocks.first().second;
        for (const auto &[key, inside] : folders.blocks)
            paths << inside.value(u"path");
        for (const auto &[key, value] : folders.values) {
            if (isSteamAppId(key))
                paths << value;
        }
        paths.removeAll(QString());
        return paths;
    }

    // A library's steamapps folder, read once though the root's is looked into twice.
    const FolderIndex &appsOf(const QString &steamapps)
    {
        if (m_appsPath != steamapps) {
            m_apps = FolderIndex(list(steamapps));
            m_appsPath = steamapps;
        }
        return m_apps;
    }

    // Each manifest names its game's folder below common/, which is read once for all of them.
    void steamLibrary(const QString &library)
    {
        if (!goOn() || !firstVisit(library))
            return;
        const QString steamapps = child(library, QStringLiteral("steamapps"), FolderEntry::Folder);
        if (steamapps.isEmpty())
            return;
        const FolderIndex &apps = appsOf(steamapps);
        const FolderEntry *common = apps.find(QStringLiteral("common"));
        if (!common || common->kind != FolderEntry::Folder)
            return;
        const QString commonPath = childPath(steamapps, common->name);
        const FolderIndex games(list(commonPath));
        for (const QString &manifest : byName(apps.listing(), FolderEntry::File)) {
            if (!isManifestName(manifest))
                continue;
            if (!counted())
                return;
            // One folder name, never a path that leads out of the library.
            const QString name = readSteamApp(steamapps, manifest).installDir;
            if (name.isEmpty() || name == u'.' || name == QLatin1String("..") || name.contains(u'/') || name.contains(u'\\'))
                continue;
            if (const FolderEntry *folder = games.find(name); folder && folder->kind == FolderEntry::Folder)
                game(QStringLiteral("Steam"), childPath(commonPath, folder->name));
        }
    }

    void installPaths(const QJsonValue &value, int depth, QStringList &paths)
    {
        if (depth > 8 || !counted())
            return;
        if (value.isArray()) {
            for (const QJsonValue &item : value.toArray())
                installPaths(item, depth + 1, paths);
            return;
        }
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (it.key() == QLatin1String("install_path") && it.value().isString())
                paths << it.value().toString();
            else
                installPaths(it.value(), depth + 1, paths);
        }
    }

    DiscoveryLimits m_limits;
    std::function<bool()> m_stop;
    std::function<void(const Installation &)> m_foundOne;
    QElapsedTimer m_clock;
    QString m_source;
    int m_used = 0;          // by the current source
    QSet<QString> m_visited; // folders, by where they really are
    QSet<QString> m_found;   // executables, by where they really are
    QString m_appsPath;
    FolderIndex m_apps;
};

} // namespace

Discovery findInstallations(const QString &home, const SystemPlaces &system, const DiscoveryLimits &limits,
                            const std::function<bool()> &stop, const std::function<void(const Installation &)> &found)
{
    Search search(limits, stop, found);
    const QDir dir(home);
    search.beginSource(QStringLiteral("Steam"));
    for (const char *root : {".steam/steam", ".local/share/Steam", ".var/app/com.valvesoftware.Steam/.local/share/Steam",
                             "snap/steam/common/.local/share/Steam"})
        search.steamRoot(dir.filePath(QLatin1String(root)));
    for (const QString &root : system.steamRoots)
        search.steamRoot(QDir::fromNativeSeparators(root));
    search.beginSource(QStringLiteral("Heroic"));
    for (const char *config : {".config/heroic", ".var/app/com.heroicgameslauncher.hgl/config/heroic"}) {
        for (const QString &folder : search.heroicFolders(dir.filePath(QLatin1String(config)))) {
            if (search.goOn())
                search.game(QStringLiteral("Heroic"), QDir::fromNativeSeparators(folder));
        }
    }
    search.gamesIn(QStringLiteral("Heroic"), dir.filePath(QStringLiteral("Games/Heroic")));
    search.beginSource(QStringLiteral("GOG"));
    for (const QString &folder : system.gameFolders) {
        if (search.goOn())
            search.game(QStringLiteral("GOG"), QDir::fromNativeSeparators(folder));
    }
    search.beginSource(QStringLiteral("Games"));
    search.gamesIn(QStringLiteral("Games"), dir.filePath(QStringLiteral("Games")));
    return std::move(search.result);
}

} // namespace tarnwell
