// SPDX-License-Identifier: MIT
// Steam's key-values text read tolerantly, and the installations found below a made-up home folder.
#include "common/playermachine.h"
#include "common/testfiles.h"
#include "files/keyvalues.h"
#include "registration/discovery.h"

#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_WIN
#include <QSettings>
#else
#include <sys/stat.h>
#endif

using namespace tarnwell;
using namespace testsupport;

namespace {

// The tree as one line: key=value, key{...}; values before blocks, as the reader keeps them.
QString dump(const KeyValues &block)
{
    QStringList parts;
    for (const auto &[key, value] : block.values)
        parts << key + u'=' + value;
    for (const auto &[key, inside] : block.blocks)
        parts << key + u'{' + dump(inside) + u'}';
    return parts.join(u' ');
}

[[nodiscard]] bool game(const QString &folder, const char *exe = "Binaries/QVX.EXE")
{
    return writeFile(folder + '/' + exe, "MZ");
}

[[nodiscard]] bool manifest(const QString &steamapps, const char *id, const QString &installdir)
{
    return writeFile(steamapps + "appmanifest_" + id + ".acf",
                     "\"AppState\" { \"appid\" \"" + QByteArray(id) + "\" \"installdir\" \"" + installdir.toUtf8() + "\" }");
}

} // namespace

class TestDiscovery : public QObject
{
    Q_OBJECT

private slots:
    void keyValues_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("tree");
        QTest::newRow("library list") << QByteArray("\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"/a b\"\n\t\t"
                                                    "\"apps\" { \"4711\" \"12\" }\n\t}\n}\n")
                                      << "libraryfolders{0{path=/a b apps{4711=12}}}";
        QTest::newRow("comments, escapes, bare words, conditions")
            << QByteArray("// x\nA { k \"v \\\"q\\\" \\\\ \\n\" [$WIN32] b { } [$X] c d }") << "A{k=v \"q\" \\ \n c=d b{}}";
        QTest::newRow("unclosed quote and block") << QByteArray("A { k \"v") << "A{k=v}";
        QTest::newRow("CR LF line ends") << QByteArray("\"libraryfolders\"\r\n{\r\n\t\"0\"\r\n\t{\r\n\t\t\"path\"\t\t"
                                                     "\"/a b\"\r\n\t}\r\n}\r\n")
                                         << "libraryfolders{0{path=/a b}}";
        QTest::newRow("stray closing brace, key without value") << QByteArray("} k v } { x y } z") << "k=v";
        QTest::newRow("nested past the depth limit")
            << QByteArray("a{b{c{d{e{f{g{h{i{j{k v}}}}}}}}} w x}") << "a{w=x b{c{d{e{f{g{}}}}}}}";
        QTest::newRow("binary") << QByteArray("\0\x01{\xff\xfe}\0\"\x80\"", 10) << "\x01{}";
    }

    void keyValues()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, tree);
        QCOMPARE(dump(parseKeyValues(text)), tree);
    }

    // Every installation once, by the path it was found at; nothing that the places do not list.
    void findInstallations()
    {
#ifdef Q_OS_WIN
        QSKIP("needs Unix links and FIFOs");
#else
        QTemporaryDir home, disk; // the second library lies on another "disk"
        const QString h = home.path() + '/', d = disk.path() + '/', steam = h + ".local/share/Steam/steamapps/";
        // Native Steam: its own library, one on the other disk, a missing one, the other disk again by a link, a
        // link loop.
        QVERIFY(writeFile(steam + "libraryfolders.vdf",
                          ("\"libraryfolders\" { \"0\" { \"path\" \"" + h + ".local/share/Steam\" } \"1\" { \"path\" \"" + d
                           + "Lib\" } \"2\" { \"path\" \"" + h + "gone\" } \"3\" { \"path\" \"" + h + "LinkLib\" } \"4\" { \"path\" \""
                           + h + "loop\" } }")
                              .toUtf8()));
        QVERIFY(manifest(steam, "4711", "Quillvane") && game(steam + "common/Quillvane"));
        QVERIFY(manifest(steam, "4712", "../../../../Outside") && game(h + "Outside"));
        QVERIFY(manifest(steam, "4713", "Other") && game(steam + "common/Other", "Binaries/OTHER.EXE"));
        QVERIFY(manifest(d + "Lib/SteamApps/", "5", "quillvane test") && game(d + "Lib/SteamApps/common/Quillvane Test", "binaries/qvx.exe"));
        QVERIFY(QFile::link(d + "Lib", h + "LinkLib"));
        QVERIFY(QDir().mkpath(h + ".steam") && QFile::link(h + ".local/share/Steam", h + ".steam/steam"));
        // Flatpak with a binary library list, Snap with one of 50 MB.
        const QString flatpak = h + ".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/";
        const QString snap = h + "snap/steam/common/.local/share/Steam/steamapps/";
        QVERIFY(writeFile(flatpak + "libraryfolders.vdf", QByteArray("\"\0{\xff\x01\"}}{{", 10).repeated(1000)));
        QVERIFY(manifest(flatpak, "7", "Quillvane Modded") && game(flatpak + "common/Quillvane Modded"));
        QVERIFY(writeFile(snap + "libraryfolders.vdf", "\"libraryfolders\" { \"0\" { \"path\" \"" + h.toUtf8() + "Other\" } }"));
        QVERIFY(QFile::link(h + "loop2", h + "loop") && QFile::link(h + "loop", h + "loop2"));
        QFile large(snap + "libraryfolders.vdf");
        QVERIFY(large.open(QIODevice::Append) && large.resize(50 << 20));
        // Heroic's lists, one into ~/Games/Heroic; ~/Games one level deep, a FIFO for an executable.
        QVERIFY(writeFile(h + ".config/heroic/legendaryConfig/legendary/installed.json",
                          "{\"Q\": {\"install_path\": \"" + h.toUtf8() + "Games/Heroic/Quillvane\"}}"));
        QVERIFY(writeFile(h + ".config/heroic/gog_store/installed.json",
                          "{\"installed\": [{\"install_path\": \"" + h.toUtf8() + "Elsewhere/QuillvaneGog\"}]}"));
        for (const char *folder : {"Games/Heroic/Quillvane", "Elsewhere/QuillvaneGog", "Games/Quillvane Copy",
                                   "Games/Deep/Sub", "Other/Quillvane"})
            QVERIFY(game(h + folder));
        QVERIFY(QDir().mkpath(h + "Games/Fifo/Binaries"));
        QCOMPARE(mkfifo(QFile::encodeName(h + "Games/Fifo/Binaries/QVX.EXE").constData(), 0600), 0);

        QStringList found;
        for (const Installation &installation : tarnwell::findInstallations(home.path(), {}).found)
            found << installation.caption + " | " + installation.exePath;
        const QStringList expected{
            "Steam: Quillvane | %H.steam/steam/steamapps/common/Quillvane/Binaries/QVX.EXE",
            "Steam: Quillvane Test | %DLib/SteamApps/common/Quillvane Test/binaries/qvx.exe",
            "Steam: Quillvane Modded | %H.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/common/"
            "Quillvane Modded/Binaries/QVX.EXE",
            "Heroic: Quillvane | %HGames/Heroic/Quillvane/Binaries/QVX.EXE",
            "Heroic: QuillvaneGog | %HElsewhere/QuillvaneGog/Binaries/QVX.EXE",
            "Games: Quillvane Copy | %HGames/Quillvane Copy/Binaries/QVX.EXE"};
        QCOMPARE(found, QStringList(expected).replaceInStrings("%H", h).replaceInStrings("%D", d));
#endif
    }

    // A player's machine: thousands of Steam games over its libraries, Heroic's hundreds, ~/Games.
    // The game is found wherever its manifest stands, each folder is read once, and a source that
    // spends its budget leaves the others theirs, and says so.
    void playerMachine_data()
    {
        QTest::addColumn<int>("steamGames");
        QTest::addColumn<int>("libraries");
        QTest::addColumn<int>("budget"); // folder entries and manifests per source
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<QStringList>("cutShort");
        const QStringList both{"Steam: Quillvane", "Games: Quillvane Copy"};
        QTest::newRow("2,000 games in three libraries") << 2000 << 3 << 200000 << both << QStringList();
        QTest::newRow("5,000 manifests in one library") << 5000 << 1 << 200000 << both << QStringList();
        QTest::newRow("Steam over its budget") << 2000 << 3 << 3000 << QStringList{"Games: Quillvane Copy"}
                                               << QStringList{"Steam: after 3,000 folder entries and manifests"};
    }

    void playerMachine()
    {
        QFETCH(int, steamGames);
        QFETCH(int, libraries);
        QFETCH(int, budget);
        QTemporaryDir home;
        PlayerMachine machine;
        PlayerMachine::Sizes sizes;
        sizes.steamGames = steamGames;
        sizes.steamLibraries = libraries;
        sizes.exeBytes = 3;
        QVERIFY(machine.make(home.path(), sizes));
        QVERIFY(game(home.filePath("Games/Quillvane Copy")));
        DiscoveryLimits limits;
        limits.entries = budget;
        limits.milliseconds = 600000; // a slow machine (or Wine) would stop at the time bound, not the budget
        const Discovery result = tarnwell::findInstallations(home.path(), {}, limits);
        QStringList found;
        for (const Installation &installation : result.found)
            found << installation.caption;
        QTEST(found, "found");
        QTEST(result.cutShort, "cutShort");
        // Read once each: a few entries a game, never a listing of a library's games for each of them.
        QVERIFY2(result.entries < 6 * (steamGames + 500 + 200) + 1000, qPrintable(QString::number(result.entries)));
    }

    // Windows: the installations the registry names: Steam's folder (the user's and the machine's value)
    // and GOG Galaxy's games. Each row writes a value of its own and removes it (the user's own is put back).
    void registry_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("exe"); // below the folder the value names
        const QString steamExe = "steamapps/common/Quillvane/Binaries/QVX.EXE";
        QTest::newRow("Steam: HKCU SteamPath") << "HKEY_CURRENT_USER\\Software\\Valve\\Steam" << "SteamPath"
                                               << "Steam: Quillvane" << steamExe;
        QTest::newRow("Steam: HKLM InstallPath") << "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Valve\\Steam"
                                                 << "InstallPath" << "Steam: Quillvane" << steamExe;
        QTest::newRow("GOG Galaxy: a game's path")
            << "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\GOG.com\\Games\\1471147114" << "path" << "GOG: Quillvane"
            << "Quillvane/Binaries/QVX.EXE";
    }

    void registry()
    {
        QFETCH(QString, key);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, exe);
#ifndef Q_OS_WIN
        QSKIP("the registry is Windows's");
#else
        QTemporaryDir home, place;
        QVERIFY(manifest(place.filePath("steamapps/"), "1", "Quillvane"));
        QVERIFY(game(place.filePath("steamapps/common/Quillvane")) && game(place.filePath("Quillvane")));
        const QString folder = nativePath(exe.startsWith("steamapps") ? place.path() : place.filePath("Quillvane"));
        QList<Installation> found;
        bool keyExisted = true;
        {
            QSettings settings(key, QSettings::NativeFormat);
            const QVariant before = settings.value(name);
            keyExisted = !settings.allKeys().isEmpty() || !settings.childGroups().isEmpty();
            settings.setValue(name, folder);
            settings.sync();
            if (settings.status() != QSettings::NoError)
                QSKIP("the registry key cannot be written here");
            found = tarnwell::findInstallations(home.path(), systemPlaces()).found;
            before.isValid() ? settings.setValue(name, before) : settings.remove(name);
            settings.sync();
            QCOMPARE(settings.value(name), before); // the user's value, or none again
        }
        if (!keyExisted) { // a key of the test's own, such as the made-up game's id, goes whole, and a read
            QSettings parent(key.section('\\', 0, -2), QSettings::NativeFormat); // makes none again
            parent.remove(key.section('\\', -1));
            parent.sync();
            static_cast<void>(systemPlaces());
            QVERIFY(!parent.childGroups().contains(key.section('\\', -1)));
        }
        // Only what lies in the test's own folder: the machine may hold installations of its own.
        QStringList ours;
        for (const Installation &installation : found) {
            if (installation.exePath.startsWith(QDir::toNativeSeparators(place.path())))
                ours << installation.caption + " | " + installation.exePath;
        }
        QCOMPARE(ours, QStringList{caption + " | " + QDir::toNativeSeparators(place.filePath(exe))});
#endif
    }
};

QTEST_GUILESS_MAIN(TestDiscovery)
#include "tst_discovery.moc"
