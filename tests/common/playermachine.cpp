// SPDX-License-Identifier: MIT
#include "common/playermachine.h"

#include "common/testfiles.h"

#include <QDir>
#include <QDirIterator>

namespace testsupport {

namespace {

bool manifest(const QString &steamapps, int id, const QString &installdir)
{
    return writeFile(QStringLiteral("%1/appmanifest_%2.acf").arg(steamapps).arg(id),
                     "\"AppState\"\n{\n\t\"appid\"\t\t\"" + QByteArray::number(id) + "\"\n\t\"installdir\"\t\t\""
                         + installdir.toUtf8() + "\"\n}\n");
}

// A game of another make: a folder with its own Binaries, which the search must look into. The
// folder above it is there already: thousands of these are made, one call each.
bool otherGame(const QString &folder)
{
    QFile exe(folder + QStringLiteral("/Binaries/Game.exe"));
    return QDir().mkdir(folder) && QDir().mkdir(folder + QStringLiteral("/Binaries")) && exe.open(QIODevice::WriteOnly)
        && exe.write("MZ") == 2;
}

bool sampleGame(const QString &folder)
{
    const QString from = QStringLiteral(TARNWELL_SOURCE_DIR "/examples/Quillvane");
    for (QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        const QString source = it.next(), target = folder + source.mid(from.size());
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target))
            return false;
    }
    return true;
}

QByteArray libraryList(const QStringList &libraries)
{
    QByteArray text = "\"libraryfolders\"\n{\n";
    for (int i = 0; i < libraries.size(); ++i)
        text += "\t\"" + QByteArray::number(i) + "\"\n\t{\n\t\t\"path\"\t\t\"" + libraries[i].toUtf8() + "\"\n\t}\n";
    return text + "}\n";
}

} // namespace

bool PlayerMachine::make(const QString &homeFolder, const Sizes &sizes)
{
    home = homeFolder;
    const QString steamRoot = home + (sizes.flatpak ? QStringLiteral("/.var/app/com.valvesoftware.Steam/.local/share/Steam")
                                                    : QStringLiteral("/.local/share/Steam"));
    QStringList libraries{steamRoot};
    for (int i = 2; i <= sizes.steamLibraries; ++i)
        libraries << home + QStringLiteral("/SteamLibrary%1").arg(i);
    if (!writeFile(steamRoot + QStringLiteral("/steamapps/libraryfolders.vdf"), libraryList(libraries)))
        return false;
    for (const QString &library : libraries) {
        for (const char *folder : {"/steamapps/common", "/Heroic", "/Games"}) // below the home, the last two
            QDir().mkpath((QLatin1String(folder) == QLatin1String("/steamapps/common") ? library : home) + QLatin1String(folder));
    }
    for (int game = 0; game < sizes.steamGames; ++game) {
        const QString steamapps = libraries[game % libraries.size()] + QStringLiteral("/steamapps");
        const QString name = QStringLiteral("Game %1").arg(game, 5, 10, QLatin1Char('0'));
        if (!manifest(steamapps, 100000 + game, name) || !otherGame(steamapps + QStringLiteral("/common/") + name))
            return false;
    }
    const QString last = libraries.last() + QStringLiteral("/steamapps");
    gameFolder = last + QStringLiteral("/common/Quillvane/");
    exe = gameFolder + QStringLiteral("Binaries/QVX.EXE");
    QFile big(exe);
    if (!manifest(last, 99999, QStringLiteral("Quillvane")) || !sampleGame(gameFolder) || !big.open(QIODevice::WriteOnly)
        || !big.resize(sizes.exeBytes))
        return false;
    big.close();
    QByteArray heroic = "{";
    for (int game = 0; game < sizes.heroicGames; ++game) {
        const QString folder = home + QStringLiteral("/Heroic/Game %1").arg(game);
        heroic += (game ? ",\n" : "\n") + QByteArray("\"id") + QByteArray::number(game) + "\": {\"install_path\": \""
                  + folder.toUtf8() + "\"}";
        if (!otherGame(folder))
            return false;
    }
    if (!writeFile(home + QStringLiteral("/.config/heroic/legendaryConfig/legendary/installed.json"), heroic + "\n}\n"))
        return false;
    for (int game = 0; game < sizes.gamesFolders; ++game) {
        if (!otherGame(home + QStringLiteral("/Games/Game %1").arg(game)))
            return false;
    }
    return true;
}

} // namespace testsupport
