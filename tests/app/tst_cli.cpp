// SPDX-License-Identifier: MIT
// The command line: every verb and exit code through real files, in process with stand-ins for the
// power supply, the running game and the streams; and the program itself, with no display, running
// a command after applying a profile.
#include "cli.h"
#include "common/testfiles.h"
#include "files/toolfiles.h"
#include "settings/profilestore.h"

#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;
using namespace tarnwell;

namespace {

QByteArray line(const char *indent, const QByteArray &name, const QByteArray &value)
{
    return indent + ("<Property name=\"" + name + "\" value=\"" + value + "\" />\n");
}
QByteArray in(const QByteArray &name, const QByteArray &value) { return line("\t", name, value); }
QByteArray out(const QByteArray &name, const QByteArray &value) { return line(" ", name, value); }

// The game's graphics file with these values, as the game writes it (`in`) or as Apply does.
QByteArray graphics(const QByteArray &brightness, const QByteArray &hdr, const QByteArray &size = "1920x1080",
                    decltype(&in) form = in)
{
    return "<Data>\n" + form("FullScreen", "true") + form("Borderless", "false") + form("ResolutionWidth", size.split('x')[0])
        + form("ResolutionHeight", size.split('x')[1]) + form("Brightness", brightness) + form("UseHDR", hdr) + "</Data>\n"
        + (form == out ? "\r\n" : "");
}
QByteArray written(const QByteArray &brightness, const QByteArray &hdr, const QByteArray &size = "1920x1080")
{
    return graphics(brightness, hdr, size, out);
}
const QByteArray kUser = "<Data>\n" + in("MusicVolume", "50") + "</Data>\n";

// What a row starts from besides the game, its profiles and the rules of --profile auto.
enum class Setup { Plain, Running, ReadOnly, NoUserFile, NothingRegistered, OnBattery };

struct Fixture {
    QTemporaryDir dir;
    QByteArray output;
    QStringList errors;
    bool running = false;
    PowerSource power = PowerSource::Mains;
    cli::Environment environment{dir.filePath("program"),
                                 dir.filePath("tool"),
                                 dir.filePath("backups"),
                                 [this] { return power; },
                                 [this](const QString &) { return running; },
                                 [this](QByteArrayView bytes) { output += bytes.toByteArray(); },
                                 [this](const QString &message) { errors << message; }};

    QString path(const QString &relative) const { return nativePath(dir.filePath(relative)); }
    QString graphicsPath() const { return path("Game/Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML"); }
    void profile(const char *name, const QByteArray &settings)
    {
        QVERIFY(writeFile(dir.filePath("tool/profiles/") + name + ".json", "{\"settings\": {" + settings + "}}"));
    }
    void prepare(Setup setup)
    {
        QVERIFY(writeFile(graphicsPath(), graphics("120", "false")));
        QVERIFY(setup == Setup::NoUserFile || writeFile(path("Game/Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML"), kUser));
        QVERIFY(writeFile(path("Game/Binaries/QVX.EXE")));
        QVERIFY(setup == Setup::NothingRegistered
                || writeFile(dir.filePath("program/Tarnwell.dat"), "QVXEXE=" + path("Game/Binaries/QVX.EXE").toUtf8() + "\r\n"));
        profile("Docked", R"("Brightness": "150", "UseHDR": "true", "ResolutionWidth": "2560", "ResolutionHeight": "1440")");
        profile("Future", R"("Brightness": "90", "FutureSetting": "x")");
        profile("Wrong", R"("Brightness": "999", "MusicVolume": "loud")");
        QVERIFY(writeFile(dir.filePath("tool/profiles/Broken.json"), "{\"settings\": {"));
        QVERIFY(writeFile(dir.filePath("tool/auto-profile.json"), R"({"battery": "Future", "mains": "Docked"})"));
        running = setup == Setup::Running;
        power = setup == Setup::OnBattery ? PowerSource::Battery : PowerSource::Mains;
        QVERIFY(setup != Setup::ReadOnly || QFile::setPermissions(graphicsPath(), QFile::ReadOwner | QFile::ReadUser));
    }
    cli::Outcome run(const QStringList &arguments) { return cli::run(QStringList{"tarnwell"} + arguments, environment); }
};

const QString kNotWritten = "Nothing was written.";

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void verbs_data()
    {
        QTest::addColumn<QStringList>("arguments"); // <dir> stands for the temporary folder
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QStringList>("errors"); // <graphics>, <user>, <profiles> stand for those paths
        QTest::addColumn<QByteArray>("after");   // the graphics file; null: as it was
        using enum Setup;
        const QByteArray none;
        const QStringList quiet;
        QTest::newRow("--list") << QStringList{"--list"} << Plain << 0 << QByteArray("FullScreen=true\nBorderless=false\n"
            "ResolutionWidth=1920\nResolutionHeight=1080\nBrightness=120\nUseHDR=false\nMusicVolume=50\n") << quiet << none;
        QTest::newRow("--list --json") << QStringList{"--json", "--list"} << Plain << 0 << QByteArray("{\n"
            "    \"executable\": \"<exe>\",\n    \"settings\": {\n        \"Borderless\": \"false\",\n"
            "        \"Brightness\": \"120\",\n        \"FullScreen\": \"true\",\n        \"MusicVolume\": \"50\",\n"
            "        \"ResolutionHeight\": \"1080\",\n        \"ResolutionWidth\": \"1920\",\n        \"UseHDR\": \"false\"\n"
            "    }\n}\n") << quiet << none;
        QTest::newRow("--get") << QStringList{"--get", "UseHDR"} << Plain << 0 << QByteArray("false\n") << quiet << none;
        QTest::newRow("--get, no such setting") << QStringList{"--get", "HDR"} << Plain << 2 << none
            << QStringList{"There is no setting named \"HDR\"; tarnwell --list names them all."} << none;
        QTest::newRow("--get, no line of it") << QStringList{"--get", "Gsync"} << Plain << 3 << none
            << QStringList{"<graphics> holds no line of Gsync."} << none;
        QTest::newRow("--set") << QStringList{"--set", "Brightness=90", "--set=UseHDR=true"} << Plain << 0 << none
                               << quiet << written("90", "true");
        QTest::newRow("--set, values refused") << QStringList{"--set", "Brightness=500", "--set", "ResolutionWidth=wide",
                                                              "--set", "UseHDR=1"} << Plain << 1 << none
            << QStringList{"Brightness \"500\": it takes a number from 0 to 300.",
                           "ResolutionWidth \"wide\": it takes a whole number from 1 to 16384.",
                           "UseHDR \"1\": it takes \"true\" or \"false\".", kNotWritten} << none;
        QTest::newRow("--set without a value") << QStringList{"--set", "Brightness"} << Plain << 2 << none
            << QStringList{"--set takes NAME=VALUE, not \"Brightness\"."} << none;
        QTest::newRow("--set, game running") << QStringList{"--set", "Brightness=90"} << Running << 5 << none
            << QStringList{"Quillvane is running (<exe>): the game writes its settings files when it exits, over what "
                           "is written now. Nothing was written; --force writes anyway."} << none;
        QTest::newRow("--set --force, game running") << QStringList{"--force", "--set", "Brightness=90"} << Running << 0
                                                     << none << quiet << written("90", "false");
        QTest::newRow("--set, read-only file") << QStringList{"--set", "Brightness=90"} << ReadOnly << 4 << none
            << QStringList{"<graphics> is read-only: --force writes it all the same, and it stays read-only.",
                           kNotWritten} << none;
        QTest::newRow("--set --force, read-only file") << QStringList{"--set", "Brightness=90", "--force"} << ReadOnly << 0
                                                       << none << quiet << written("90", "false");
        QTest::newRow("--set, user file missing") << QStringList{"--set", "MusicVolume=7"} << NoUserFile << 3 << none
            << QStringList{"<user> does not exist: start the game once to make it."} << none;
        QTest::newRow("--set, the other file missing") << QStringList{"--set", "Brightness=90"} << NoUserFile << 0
                                                       << none << quiet << written("90", "false");
        QTest::newRow("nothing registered") << QStringList{"--list"} << NothingRegistered << 3 << none
            << QStringList{"No game executable is registered: choose Quillvane's QVX.EXE in the window once, or give "
                           "--game PATH."} << none;
        QTest::newRow("--game") << QStringList{"--game", "<dir>/Game/Binaries/QVX.EXE", "--get", "Brightness"}
                                << NothingRegistered << 0 << QByteArray("120\n") << quiet << none;
        QTest::newRow("--game, no such file") << QStringList{"--game", "<dir>/QVX.EXE", "--list"} << Plain << 3 << none
            << QStringList{"The game executable <dir>/QVX.EXE does not exist."} << none;
        QTest::newRow("--profile") << QStringList{"--profile", "docked"} << Plain << 0 << none << quiet
                                   << written("150", "true", "2560x1440");
        QTest::newRow("--profile, unknown names") << QStringList{"--profile", "Future"} << Plain << 0 << none
            << QStringList{"The profile \"Future\" holds settings that this Tarnwell does not know, which were left out "
                           "(they stay in its file): FutureSetting."} << written("90", "false");
        QTest::newRow("--profile, values refused") << QStringList{"--profile", "Wrong"} << Plain << 1 << none
            << QStringList{"Brightness \"999\": it takes a number from 0 to 300.",
                           "MusicVolume \"loud\": it takes a whole number from 0 to 100.", kNotWritten} << none;
        QTest::newRow("--profile, broken file") << QStringList{"--profile", "Broken"} << Plain << 1 << none
            << QStringList{"<profiles>/Broken.json cannot be used as a profile. It is not valid JSON: unterminated "
                           "object at line 1, column 14."} << none;
        QTest::newRow("--profile, no such profile") << QStringList{"--profile", "Nope"} << Plain << 2 << none
            << QStringList{"There is no profile named \"Nope\" in <profiles>."} << none;
        QTest::newRow("--profile auto, on battery") << QStringList{"--profile", "auto"} << OnBattery << 0 << none
            << QStringList{"--profile auto: on battery, so \"Future\".", "The profile \"Future\" holds settings that "
                           "this Tarnwell does not know, which were left out (they stay in its file): FutureSetting."}
            << written("90", "false");
        QTest::newRow("--profile auto, on mains") << QStringList{"--profile", "AUTO"} << Plain << 0 << none
            << QStringList{"--profile auto: on mains power, so \"Docked\"."} << written("150", "true", "2560x1440");
        QTest::newRow("--profiles") << QStringList{"--profiles"} << Plain << 0 << QByteArray("Broken\nDocked\nFuture\nWrong\n")
                                    << quiet << none;
        QTest::newRow("two verbs") << QStringList{"--list", "--get", "UseHDR"} << Plain << 2 << none
            << QStringList{"Give one of --list, --get, --set, --save-profile, --profile, --profiles, --export-profile and "
                           "--import-profile.\nTry 'tarnwell --help' for more information."} << none;
        QTest::newRow("--strict without a command") << QStringList{"--profile", "Docked", "--strict"} << Plain << 2 << none
            << QStringList{"--strict goes with a command after --.\nTry 'tarnwell --help' for more information."} << none;
        QTest::newRow("a command after --list") << QStringList{"--list", "--", "true"} << Plain << 2 << none
            << QStringList{"A command after -- and --strict go with --profile.\nTry 'tarnwell --help' for more "
                           "information."} << none;
        QTest::newRow("unknown option") << QStringList{"--list", "--bogus"} << Plain << 2 << none
            << QStringList{"Unknown option 'bogus'.\nTry 'tarnwell --help' for more information."} << none;
    }

    void verbs()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Setup, setup);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QStringList, errors);
        QFETCH(QByteArray, after);
        Fixture game;
        game.prepare(setup);
        const auto fill = [&game](QString text) {
            return text.replace("<dir>/QVX", game.path("QVX")).replace("<dir>", game.dir.path())
                .replace("<graphics>", game.graphicsPath()).replace("<exe>", game.path("Game/Binaries/QVX.EXE"))
                .replace("<user>", game.path("Game/Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML"))
                .replace("<profiles>/Broken.json", game.path("tool/profiles/Broken.json"))
                .replace("<profiles>", game.path("tool/profiles"));
        };
        const cli::Outcome outcome = game.run(QStringList(arguments).replaceInStrings("<dir>", game.dir.path()));
        QStringList expected;
        for (const QString &error : errors)
            expected << fill(error);
        QCOMPARE(game.errors, expected);
        QByteArray shown = fill(QString::fromUtf8(out)).toUtf8();
        QCOMPARE(game.output, kWindows ? shown.replace("\\", "\\\\") : shown); // JSON doubles a backslash
        QCOMPARE(outcome.exitCode, exitCode);
        QCOMPARE(outcome.commandIndex, -1);
        QCOMPARE(readFile(game.graphicsPath()), after.isNull() ? graphics("120", "false") : after);
        // A run that fails leaves the other file as it was too.
        const QString user = game.dir.filePath("Game/Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML");
        if (exitCode != 0 && QFileInfo::exists(user))
            QCOMPARE(readFile(user), kUser);
    }

    // A profile saved from the game's files, exported, and imported again: the same file each time.
    void saveExportImport()
    {
        Fixture game;
        game.prepare(Setup::Plain);
        QCOMPARE(game.run({"--save-profile", "Mine"}).exitCode, 0);
        const QByteArray mine = "{\n    \"format\": \"tarnwell-profile-1\",\n    \"name\": \"Mine\",\n    \"settings\": {\n"
            "        \"Borderless\": \"false\",\n        \"Brightness\": \"120\",\n        \"FullScreen\": \"true\",\n"
            "        \"MusicVolume\": \"50\",\n        \"ResolutionHeight\": \"1080\",\n        \"ResolutionWidth\": \"1920\",\n"
            "        \"UseHDR\": \"false\"\n    }\n}\n";
        QCOMPARE(readFile(game.dir.filePath("tool/profiles/Mine.json")), mine);
        QCOMPARE(game.run({"--export-profile", "mine", game.dir.filePath("elsewhere/mine.json")}).exitCode, 0);
        QCOMPARE(readFile(game.dir.filePath("elsewhere/mine.json")), mine);
        QVERIFY(QFile::remove(game.dir.filePath("tool/profiles/Mine.json")));
        QCOMPARE(game.run({"--import-profile", game.dir.filePath("elsewhere/mine.json")}).exitCode, 0);
        QCOMPARE(game.output, "Mine\n");
        QCOMPARE(readFile(game.dir.filePath("tool/profiles/Mine.json")), mine);
        QCOMPARE(game.errors, QStringList());
        QCOMPARE(game.run({"--import-profile", game.dir.filePath("elsewhere/mine.json")}).exitCode, 0);
        QCOMPARE(game.errors, QStringList{"The profile \"Mine\" was replaced."});
        game.errors.clear();
        // What comes from elsewhere is checked before it is kept.
        QVERIFY(writeFile(game.dir.filePath("bad.json"), R"({"name": "a/b", "settings": {}})"));
        QCOMPARE(game.run({"--import-profile", game.dir.filePath("bad.json")}).exitCode, 1);
        QVERIFY(writeFile(game.dir.filePath("Loud.json"), R"({"settings": {"MusicVolume": "200"}})"));
        QCOMPARE(game.run({"--import-profile", game.dir.filePath("Loud.json")}).exitCode, 1);
        QCOMPARE(game.errors, QStringList({nativePath(game.dir.filePath("bad.json")) + " names its profile \"a/b\", which "
                                           "cannot name a profile: it holds \"/\", which a file name cannot hold.",
                                           "MusicVolume \"200\": it takes a whole number from 0 to 100.",
                                           "The profile was not imported."}));
        QVERIFY(!QFile::exists(game.dir.filePath("tool/profiles/Loud.json")));
    }

    void command_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("commandIndex"); // of the arguments with the program's name first; -1: none runs
        QTest::addColumn<QString>("lastError");
        QTest::newRow("applied") << QStringList{"--profile", "Docked", "--", "game", "--x"} << 0 << 4 << "";
        QTest::newRow("not applied: runs all the same") << QStringList{"--profile", "Nope", "--", "game"} << 2 << 4
                                                        << "Running game all the same.";
        QTest::newRow("--strict: does not run") << QStringList{"--strict", "--profile", "Nope", "--", "game"} << 2 << -1
            << "There is no profile named \"Nope\" in <profiles>.";
        QTest::newRow("game running: runs all the same") << QStringList{"--profile", "Docked", "--", "game", "--", "x"}
                                                         << 5 << 4 << "Running game all the same.";
        QTest::newRow("nothing after --") << QStringList{"--profile", "Docked", "--"} << 2 << -1
            << "-- must be followed by a command.\nTry 'tarnwell --help' for more information.";
    }

    void command()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(int, commandIndex);
        QFETCH(QString, lastError);
        Fixture game;
        game.prepare(arguments.contains("x") ? Setup::Running : Setup::Plain);
        const cli::Outcome outcome = game.run(arguments);
        QCOMPARE(outcome.exitCode, exitCode);
        QCOMPARE(outcome.commandIndex, commandIndex);
        QCOMPARE(game.errors.value(game.errors.size() - 1), lastError.replace("<profiles>", game.path("tool/profiles")));
    }

    // The program itself, with no display at all: a program that asked the window system first would
    // abort. The command after -- gets its arguments unchanged, and its exit status is the program's.
    void program_data()
    {
        QTest::addColumn<QStringList>("arguments"); // <profile> stands for the profile, <echo> for the echo command
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        const QByteArray literal = "[;][\"q\"][a b][$(id)][`x`][%PATH%][*][]\n";
        QTest::newRow("arguments as given") << QStringList{"--profile", "<profile>", "--", "<echo>", "0", ";", "\"q\"",
                                                           "a b", "$(id)", "`x`", "%PATH%", "*", ""}
                                            << 0 << literal << QByteArray();
        QTest::newRow("the command's exit status") << QStringList{"--profile", "<profile>", "--", "<echo>", "7"} << 7
                                                   << QByteArray("\n") << QByteArray();
        QTest::newRow("not applied, run all the same") << QStringList{"--profile", "Nope", "--", "<echo>", "0", "x"} << 0
            << QByteArray("[x]\n") << QByteArray("tarnwell: There is no profile named \"Nope\" in <profiles>.\n"
                                                 "tarnwell: Running <echo> all the same.\n");
        QTest::newRow("--strict") << QStringList{"--strict", "--profile", "Nope", "--", "<echo>", "0"} << 2 << QByteArray()
            << QByteArray("tarnwell: There is no profile named \"Nope\" in <profiles>.\n");
        QTest::newRow("no such command") << QStringList{"--profile", "<profile>", "--", "<dir>/nothing"} << 127
            << QByteArray() << QByteArray("tarnwell: cannot run <dir>/nothing: <not found>\n");
        QTest::newRow("--get") << QStringList{"--get", "Brightness"} << 0 << QByteArray("120\n") << QByteArray();
    }

    void program()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QTemporaryDir dir;
        // Unix: the per-user folders of this run; Windows: the local application data folder (Wine's own
        // under `make test-windows`), where the profile's name is this run's alone and goes afterwards.
        qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
        const QString profile = QStringLiteral("tst_cli %1").arg(QCoreApplication::applicationPid());
        const QString profiles = profilesFolder(userToolFolder());
        const bool ownFolder = !QFileInfo::exists(userToolFolder()); // made here: it goes again
        const QString game = dir.filePath("Game/");
        // Files as Apply writes them, and a profile of the values they hold: nothing is written.
        QVERIFY(writeFile(game + "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML", written("120", "false")));
        QVERIFY(writeFile(game + "Binaries/QVX.EXE"));
        QCOMPARE(storeProfile(profiles, {profile, {{"Brightness", "120"}}}), QString());
        const auto cleanUp = qScopeGuard([&] {
            QFile::remove(profilePath(profiles, profile));
            QFile::remove(firstFoundPath(userToolFolder(), nativePath(game)));
            if (ownFolder)
                QDir(userToolFolder()).removeRecursively();
        });
        const QString echo = nativePath(TARNWELL_BUILD_DIR "/tests/tst_cli_echo");
        QStringList words{"--game", nativePath(game + "Binaries/QVX.EXE")};
        for (const QString &argument : arguments)
            words << QString(argument).replace("<profile>", profile).replace("<echo>", echo).replace("<dir>", dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("QT_QPA_PLATFORM", "xcb");
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(TARNWELL_BUILD_DIR "/tarnwell", words);
        QVERIFY(program.waitForFinished(30000));
        err.replace("<profiles>", profiles.toLocal8Bit()).replace("<echo>", echo.toLocal8Bit())
            .replace("<dir>", dir.path().toLocal8Bit())
            .replace("<not found>", qt_error_string(2).toLocal8Bit()); // the system's words for "not found"
        if (kWindows) // a console's text mode
            out.replace("\n", "\r\n"), err.replace("\n", "\r\n");
        QCOMPARE(program.readAllStandardError(), err);
        QCOMPARE(program.readAllStandardOutput(), out);
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
