// SPDX-License-Identifier: MIT
// Tarnwell installed or portable: where its own files are found and written, its command line,
// and a start that keeps the web engine's chatter off the terminal.
#include "common/systemtest.h"
#include "common/testsupport.h"
#include "files/toolfiles.h"
#include "links/enginemessages.h"

#include <QProcess>
#include <QScopeGuard>

using namespace testsupport;

namespace {

const QString kModule = kWindows ? "tarnwell_banner.dll" : "libtarnwell_banner.so";
const QString kFatal = "Fatal Error: QVX.dat verification missing. Reinstall Tarnwell";

// The sample game (Game/) and the known-versions list (QVX.dat), only read, where an unprivileged
// re-run reaches them too: the source folder may lie in a private home.
QString fixture()
{
    static QTemporaryDir dir;
    if (qEnvironmentVariableIsSet("TST_INSTALL_FIXTURE"))
        return qEnvironmentVariable("TST_INSTALL_FIXTURE");
    if (!copySampleGame(dir.filePath("Game")) || !QFile::copy(TARNWELL_SOURCE_DIR "/dat/QVX.dat", dir.filePath("QVX.dat")))
        qFatal("cannot copy the sample game into %s", qPrintable(dir.path()));
    QFile::setPermissions(dir.path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    qputenv("TST_INSTALL_FIXTURE", QFile::encodeName(dir.path()));
    return dir.path();
}

// Where Tarnwell.dat is read and written: beside the program, or in the user's own folder.
enum class Place { Beside, PerUser };

QStringList messages; // what the engine filter let through to this test's own handler
void record(QtMsgType, const QMessageLogContext &, const QString &message) { messages << message; }

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void places_data()
    {
        QTest::addColumn<QStringList>("files");    // under the prefix <root>; the program folder is <root>/bin
        QTest::addColumn<bool>("readOnly");        // the program folder, for an unprivileged user
        QTest::addColumn<Place>("config");         // where Tarnwell.dat is read and written
        QTest::addColumn<QString>("list");         // the known-versions list taken
        QTest::addColumn<QString>("banner");       // the banner module loaded
        QTest::addColumn<QStringList>("messages"); // a start with Tarnwell.dat naming the game, then a new choice saved
        using enum Place;
        const QString ownList = "<root>/bin/dat/QVX.dat", installedList = "<root>/share/tarnwell/dat/QVX.dat";
        const QString ownBanner = "<root>/bin/" + kModule, installedBanner = "<root>/lib/tarnwell/" + kModule;
        const QStringList portable{"bin/dat/QVX.dat", "bin/" + kModule};
        const QStringList installed{"share/tarnwell/dat/QVX.dat", "lib/tarnwell/" + kModule};
        const QStringList none;
        QTest::newRow("portable copy") << portable << false << Beside << ownList << ownBanner << none;
        QTest::newRow("portable copy without a list") << QStringList() << false << Beside << ownList << ""
                                                      << QStringList{kFatal};
        QTest::newRow("read-only portable copy") << portable << true << PerUser << ownList << ownBanner << none;
        QTest::newRow("read-only folder holding Tarnwell.dat") << portable + QStringList{"bin/Tarnwell.dat"} << true
            << Beside << ownList << ownBanner
            << QStringList{"Cannot save the game's path to <root>/bin/Tarnwell.dat: Permission denied.\n"
                           "It will have to be chosen again at the next start."};
        QTest::newRow("installed") << installed << false << PerUser << installedList << installedBanner << none;
        QTest::newRow("installed, read-only") << installed << true << PerUser << installedList << installedBanner << none;
        QTest::newRow("installed, Tarnwell.dat beside the program") << installed + QStringList{"bin/Tarnwell.dat"} << false
            << Beside << installedList << installedBanner << none;
        QTest::newRow("installed tree with a portable copy's files") << installed + portable << false << Beside << ownList
            << ownBanner << none;
    }

    void places()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, readOnly);
        QFETCH(Place, config);
        QFETCH(QString, list);
        QFETCH(QString, banner);
        QFETCH(QStringList, messages);
        const QString game = fixture() + "/Game", exe = game + "/Binaries/QVX.EXE";
        if (readOnly)
            UNIX_ONLY("the read-only attribute of a folder does not keep files from being written in it");
        if (readOnly && testsupport::rerunAsUser()) // the superuser may write anywhere
            return;
        QTemporaryDir root, home;
#ifdef Q_OS_WIN // the system's own per-user folder, %LOCALAPPDATA%; a folder already in use there is left alone
        const QString user = QDir::fromNativeSeparators(qEnvironmentVariable("LOCALAPPDATA"));
        if (config == Place::PerUser && QFileInfo::exists(user + "/Tarnwell"))
            QSKIP("the per-user folder of this account is in use");
        const auto gone = qScopeGuard([&] { QDir(user + "/Tarnwell").removeRecursively(); });
#else
        const QString user = home.path();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(user));
#endif
        const QString bin = root.filePath("bin");
        const QByteArray knownVersions = readFile(fixture() + "/QVX.dat");
        QVERIFY(QDir().mkpath(bin));
        for (const QString &file : files)
            QVERIFY(writeFile(root.filePath(file), file.endsWith("QVX.dat") ? knownVersions : "other"));
        const auto place = [&](QString path) { return path.replace("<root>", root.path()).replace("<user>", user); };
        const QString configFile = place(config == Place::Beside ? "<root>/bin/Tarnwell.dat"
                                         : kWindows ? "<user>/Tarnwell/Tarnwell.dat" : "<user>/tarnwell/Tarnwell.dat");
        QVERIFY(writeFile(configFile, "QVXEXE=" + exe.toUtf8() + "\r\n"));
        const QFileDevice::Permissions open = QFile::permissions(bin);
        QVERIFY(!readOnly || QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner));

        QCOMPARE(tarnwell::configFilePath(bin), nativePath(configFile));
        QCOMPARE(tarnwell::versionListPath(bin), nativePath(place(list)));
        QCOMPARE(tarnwell::findBannerModule(bin), nativePath(place(banner)));
        // The window reads Tarnwell.dat from there and stores a new choice there, nowhere else.
        FakePlatform platform(bin);
        Form1 form(platform);
        QVERIFY(start(form));
        const bool detected = !messages.contains(kFatal);
        QCOMPARE(form.label(22)->text(), detected ? "Quillvane Sample Installation Detected!" : "Not Set");
        QCOMPARE(form.text(3)->text(), detected ? "120" : "115"); // Brightness, from the game's file or the default
        const QString chosen = game + "/Other/QVX.EXE";
        form.GameExePath = chosen;
        form.SaveSettings();
        QCOMPARE(platform.prompts(), messages.replaceInStrings("<root>/bin/", nativePath(root.path() + "/bin/")));
        const bool saved = messages.filter("Cannot save").isEmpty();
        QCOMPARE(readFile(configFile), "QVXEXE=" + (saved ? chosen : exe).toUtf8() + "\r\n");
        QCOMPARE(QFile::exists(bin + "/Tarnwell.dat"), config == Place::Beside);
        QVERIFY(QFile::setPermissions(bin, open));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        const QByteArray version = "tarnwell 0.0.2-r09\n";
        const QByteArray help =
            "Usage: tarnwell [--help | --version]\n"
            "       tarnwell [--game PATH] --list [--json] | --get NAME | --set NAME=VALUE... [--force]\n"
            "       tarnwell [--game PATH] --save-profile NAME | --profile NAME [--force]\n"
            "       tarnwell [--game PATH] --profile NAME [--strict] [--force] -- COMMAND [ARGUMENTS...]\n"
            "       tarnwell --profiles | --export-profile NAME FILE | --import-profile FILE\n"
            "Edits the settings of the game Quillvane from outside the game, in a window or on the command line.\n"
            "\n"
            "  -h, --help                  show this help and exit\n"
            "  -v, --version               show the version and exit\n"
            "  --game PATH                 the game's QVX.EXE; without it, the one chosen in the window\n"
            "  --list                      every setting as Name=value, one a line (--json: a JSON object)\n"
            "  --get NAME                  the value of one setting\n"
            "  --set NAME=VALUE            change a setting (repeat for more); every value is checked first\n"
            "  --save-profile NAME         keep the game's settings as a profile\n"
            "  --profile NAME              write the profile's settings into the game's files\n"
            "  --profile auto              the profile that auto-profile.json names for battery or mains power\n"
            "  --profile NAME -- COMMAND   then run COMMAND with its arguments as given, never through a shell,\n"
            "                              and exit with its exit status; a profile that cannot be written is\n"
            "                              reported and the command runs all the same, unless --strict\n"
            "  --force                     write even while the game runs, or into a read-only file\n"
            "  --profiles                  the names of the profiles\n"
            "  --export-profile NAME FILE  copy a profile to FILE\n"
            "  --import-profile FILE       add the profile in FILE\n"
            "\n"
            "Settings are named as in the game's files (ResolutionWidth, UseHDR, Brightness, ...), and values\n"
            "are written as the files hold them (\"1920\", \"true\", \"On\"). Profiles are kept in\n"
            "$XDG_CONFIG_HOME/tarnwell/profiles (~/.config/tarnwell/profiles), on Windows in\n"
            "%LOCALAPPDATA%\\Tarnwell\\profiles.\n"
            "\n"
            "Exit status: 0 done; 1 a value or profile refused (nothing written); 2 a usage error; 3 no game,\n"
            "or its settings files missing or unreadable; 4 a write refused or failed (nothing written, but a\n"
            "file the message names as written before a failure); 5 the game is running (nothing written;\n"
            "--force writes anyway). After -- COMMAND: the command's own exit status.\n"
            "\n"
            "Qt's own options, such as -platform or -style, are accepted when the window opens.\n";
        QTest::newRow("--version") << QStringList{"--version"} << 0 << version << QByteArray();
        QTest::newRow("-v after Qt's own option") << QStringList{"-platform", "offscreen", "-v"} << 0 << version
                                                  << QByteArray();
        QTest::newRow("--help") << QStringList{"--help"} << 0 << help << QByteArray();
        QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << QByteArray()
            << QByteArray("tarnwell: Unknown option 'bogus'.\nTry 'tarnwell --help' for more information.\n");
        QTest::newRow("stray argument") << QStringList{"QVX.EXE"} << 2 << QByteArray()
            << QByteArray("tarnwell: Unexpected argument 'QVX.EXE'.\nTry 'tarnwell --help' for more information.\n");
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        // No display at all: a program that asked the window system first would abort.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("QT_QPA_PLATFORM", "xcb");
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(TARNWELL_BUILD_DIR "/tarnwell", arguments);
        QVERIFY(program.waitForFinished(30000));
        if (kWindows) // a console's text mode
            out.replace("\n", "\r\n"), err.replace("\n", "\r\n");
        QCOMPARE(program.readAllStandardError(), err);
        QCOMPARE(program.readAllStandardOutput(), out);
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
    }

    void engineMessages_data()
    {
        QTest::addColumn<QByteArray>("category");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("starting");
        QTest::addColumn<bool>("shown");
        QTest::newRow("engine's category") << QByteArray("qt.webenginecontext") << int(QtWarningMsg) << false << false;
        QTest::newRow("page console") << QByteArray("js") << int(QtInfoMsg) << false << false;
        QTest::newRow("engine's critical") << QByteArray("qt.webenginecontext") << int(QtCriticalMsg) << false << true;
        QTest::newRow("uncategorised, engine starting") << QByteArray("default") << int(QtWarningMsg) << true << false;
        QTest::newRow("uncategorised, engine started") << QByteArray("default") << int(QtWarningMsg) << false << true;
        QTest::newRow("critical, engine starting") << QByteArray("default") << int(QtCriticalMsg) << true << true;
        QTest::newRow("another category, engine starting") << QByteArray("qt.qpa.xcb") << int(QtWarningMsg) << true << true;
    }

    void engineMessages()
    {
        QFETCH(QByteArray, category);
        QFETCH(int, type);
        QFETCH(bool, starting);
        QFETCH(bool, shown);
        messages.clear();
        const QtMessageHandler before = qInstallMessageHandler(record);
        tarnwell::links::beginEngineStart();
        if (!starting)
            tarnwell::links::endEngineStart();
        qt_message_output(QtMsgType(type), QMessageLogContext(nullptr, 0, nullptr, category.constData()), "notice");
        tarnwell::links::endEngineStart();
        qInstallMessageHandler(before);
        QCOMPARE(messages, shown ? QStringList{"notice"} : QStringList());
    }

    void quietStart()
    {
        if (!QFile::exists(TARNWELL_BUILD_DIR "/libtarnwell_banner.so"))
            QSKIP("built without the banner module");
        // A portable copy that starts with a registered game, so that no message box waits.
        QTemporaryDir dir;
        const QString game = fixture() + "/Game", runtime = dir.filePath("runtime");
        for (const char *file : {"tarnwell", "libtarnwell_banner.so", "dat/QVX.dat"})
            QVERIFY(writeFile(dir.filePath(file), readFile(QString(TARNWELL_BUILD_DIR "/") + file)));
        QVERIFY(QFile::setPermissions(dir.filePath("tarnwell"), QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(writeFile(dir.filePath("Tarnwell.dat"), "QVXEXE=" + game.toUtf8() + "/Binaries/QVX.EXE\r\n"));
        QVERIFY(QDir().mkpath(runtime)
                && QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "minimal"); // a window system that says nothing of its own
        environment.insert("XDG_RUNTIME_DIR", runtime);
        environment.insert("QT_LOGGING_RULES", "tarnwell.banner.info=true"); // the one line said when the page is done
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(dir.filePath("tarnwell"), {});
        QVERIFY(program.waitForStarted());
        // The banner comes in after the first paint; its first page fails at once without a network.
        const QByteArray done = "tarnwell.banner: first page loaded or failed\n";
        QByteArray errors;
        QTRY_VERIFY_WITH_TIMEOUT((errors += program.readAllStandardError()).contains(done), 30000);
        QCOMPARE(program.state(), QProcess::Running);
        program.kill();
        QVERIFY(program.waitForFinished(10000));
        // The minimal window system says, when the window's width changes, that it cannot pass size
        // limits on; a real one never does. Nothing else may be printed.
        errors += program.readAllStandardError();
        QCOMPARE(errors.replace(done, "").replace("This plugin does not support propagateSizeHints()\n", ""), QByteArray());
        QCOMPARE(program.readAllStandardOutput(), QByteArray());
    }

};

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
