// SPDX-License-Identifier: MIT
#include "registration/discovery.h"

#include "files/filecontent.h"
#include "files/keyvalues.h"
#include "files/steamlibrary.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QThread>

namespace tarnwell {

namespace {

// Heroic's lists of installed games, below its configuration folder (native and Flatpak).
const char *const kHeroicLists[] = {"legendaryConfig/legendary/installed.json", "gog_store/installed.json",
                                    "nile_config/nile/installed.json", "sideload_apps/library.json"};

class Search
{
public:
    Search(const DiscoveryLimits &limits, const std::atomic<bool> *stop) : m_limits(limits), m_stop(stop)
    {
        m_clock.start();
    }

    QList<Installation> found;

    bool goOn() const
    {
        return m_entries < m_limits.entries && m_clock.elapsed() < m_limits.milliseconds && !(m_stop && *m_stop);
    }

    // Each folder is looked into once, by where it really is: links and loops lead nowhere twice.
    bool firstVisit(const QString &folder)
    {
        const QString real = QFileInfo(folder).canonicalFilePath();
        if (real.isEmpty() || !QFileInfo(real).isDir() || m_visited.contains(real))
            return false;
        m_visited.insert(real);
        return true;
    }

    void steamRoot(const QString &root)
    {
        if (!firstVisit(root))
            return;
        const QString steamapps = child(root, QStringLiteral("steamapps"), QDir::Dirs);
        QStringList libraries{root};
        if (!steamapps.isEmpty())
            libraries << libraryPaths(child(steamapps, QStringLiteral("libraryfolders.vdf"), QDir::Files));
        m_visited.remove(QFileInfo(root).canonicalFilePath()); // the root is its own first library
        for (const QString &library : libraries)
            steamLibrary(library);
    }

    // A game folder: registered when it holds Binaries/QVX.EXE in any letter case.
    void game(const QString &source, const QString &folder)
    {
        const QString binaries = child(folder, QStringLiteral("Binaries"), QDir::Dirs);
        const QString exe = binaries.isEmpty() ? QString() : child(binaries, QStringLiteral("QVX.EXE"), QDir::Files);
        if (exe.isEmpty())
            return;
        const QString real = QFileInfo(exe).canonicalFilePath();
        if (real.isEmpty() || m_found.contains(real))
            return;
        m_found.insert(real);
        found.append({source + QStringLiteral(": ") + QFileInfo(folder).fileName(),
                      QDir::toNativeSeparators(QDir::cleanPath(exe))});
    }

    // Every folder directly inside `parent`, each a game folder of `source`.
    void gamesIn(const QString &source, const QString &parent)
    {
        if (!firstVisit(parent))
            return;
        const QDir folder(parent);
        for (const QString &name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
            if (!counted())
                return;
            game(source, folder.filePath(name));
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
    bool counted()
    {
        ++m_entries;
        return goOn();
    }

    // The entry of that name in any letter case, of the kind asked for (links followed); empty if none.
    QString child(const QString &folder, const QString &name, QDir::Filters kind)
    {
        const QDir dir(folder);
        for (const QString &entry : dir.entryList(kind | QDir::Hidden | QDir::NoDotAndDotDot)) {
            if (!counted())
                return {};
            if (entry.compare(name, Qt::CaseInsensitive) == 0)
                return dir.filePath(entry);
        }
        return {};
    }

    // The libraries a libraryfolders.vdf names: "path" in each numbered block, or, in older files,
    // the numbered values themselves.
    QStringList libraryPaths(const QString &vdf)
    {
        QStringList paths;
        if (vdf.isEmpty())
            return paths;
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

    void steamLibrary(const QString &library)
    {
        if (!goOn() || !firstVisit(library))
            return;
        const QString steamapps = child(library, QStringLiteral("steamapps"), QDir::Dirs);
        const QString common = steamapps.isEmpty() ? QString() : child(steamapps, QStringLiteral("common"), QDir::Dirs);
        if (common.isEmpty())
            return;
        forEachSteamApp(steamapps, [&](const SteamApp &app) {
            // One folder name, never a path that leads out of the library.
            const QString name = app.installDir;
            if (!name.isEmpty() && name != u'.' && name != QLatin1String("..") && !name.contains(u'/')
                && !name.contains(u'\\'))
                game(QStringLiteral("Steam"), child(common, name, QDir::Dirs));
            return counted();
        });
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
    const std::atomic<bool> *m_stop;
    QElapsedTimer m_clock;
    int m_entries = 0;
    QSet<QString> m_visited; // folders, by where they really are
    QSet<QString> m_found;   // executables, by where they really are
};

} // namespace

QList<Installation> findInstallations(const QString &home, const SystemPlaces &system, const DiscoveryLimits &limits,
                                      const std::atomic<bool> *stop)
{
    Search search(limits, stop);
    const QDir dir(home);
    for (const char *root : {".steam/steam", ".local/share/Steam", ".var/app/com.valvesoftware.Steam/.local/share/Steam",
                             "snap/steam/common/.local/share/Steam"})
        search.steamRoot(dir.filePath(QLatin1String(root)));
    for (const QString &root : system.steamRoots)
        search.steamRoot(QDir::fromNativeSeparators(root));
    for (const char *config : {".config/heroic", ".var/app/com.heroicgameslauncher.hgl/config/heroic"}) {
        for (const QString &folder : search.heroicFolders(dir.filePath(QLatin1String(config))))
            search.game(QStringLiteral("Heroic"), QDir::fromNativeSeparators(folder));
    }
    for (const QString &folder : system.gameFolders)
        search.game(QStringLiteral("GOG"), QDir::fromNativeSeparators(folder));
    search.gamesIn(QStringLiteral("Heroic"), dir.filePath(QStringLiteral("Games/Heroic")));
    search.gamesIn(QStringLiteral("Games"), dir.filePath(QStringLiteral("Games")));
    return search.found;
}

DiscoveryTask::DiscoveryTask(const QString &home, QObject *parent)
    : QObject(parent)
    , m_home(home)
{
}

DiscoveryTask::~DiscoveryTask()
{
    if (m_thread) {
        m_stop = true;
        m_thread->wait();
        delete m_thread;
    }
}

void DiscoveryTask::start()
{
    if (m_thread)
        return;
    // The result is written by the thread and read only after it has finished.
    m_thread = QThread::create([this] { m_result = findInstallations(m_home, systemPlaces(), {}, &m_stop); });
    connect(m_thread, &QThread::finished, this, &DiscoveryTask::finished, Qt::QueuedConnection);
    m_thread->start();
}

} // namespace tarnwell
