// SPDX-License-Identifier: MIT
// The launch, clean-up and link commands as the window hands them on, the faults that stop them,
// the real runner on real folders and what it reports, the running game, launching through Steam.
#include "common/systemtest.h"
#include "common/testsupport.h"
#include "files/background.h"
#include "maintenance/filedeletion.h"
#include "maintenance/launchline.h"
#include "maintenance/steamlaunch.h"
#include "platform/desktopplatform.h"
#include "recentinstallations.h"
#include "registration/installations.h"

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace tarnwell;
using namespace testsupport;

namespace {
// The controls clicked, by what they do; controlName() gives the name the window finds each by.
enum class Control { Apply, Launch, Reload, DelShaderCache, DelAllSettings, Image1, Image2, Image3, Image4, Image5,
                     Image6, Label20 };
QString controlName(Control control)
{
    static const char *const names[] = {"Command1", "Command2", "Command3", "Command5", "Command6", "Image1", "Image2",
                                        "Image3", "Image4", "Image5", "Image6", "Label20"};
    return names[int(control)];
}
// What registration and the reader left before the click; the last three then lose that file or folder.
enum class Before { Registered, Unregistered, ExeIsFolder, ExeGone, CacheGone, SettingsGone };
// What else a launch row sets up: the URL opener, alone on the search path, failing or missing; a link
// into a Steam library; a program that notes its start (a script, or the Windows program of the test's
// own); an executable that is no program at all, which every system refuses to start.
enum class Setup { Plain, OpenerFails, NoOpener, LinkIntoLibrary, Script, WindowsProgram, NoProgram };
// How the other process names the path: by running the executable itself, as its first argument (as
// a program called by a compatibility layer; FromGameFolder: running in the game folder), or as a later
// one only; OtherInstallation: another installation's executable, as its first argument (on Windows, its image).
enum class Call { Itself, First, FromGameFolder, Later, OtherInstallation };

// How the steam:// address is opened: by a handler of the test's own (the recording program), or by none.
enum class Opener { Own, None };

// The program of the test's own that notes how it was started (tests/maintenance/recorder.cpp).
QString recorderProgram()
{
    return QCoreApplication::applicationDirPath() + "/" TARNWELL_RECORDER;
}
#ifdef Q_OS_WIN
// The recording program as the handler of steam: addresses: for the user, or for the machine where the
// system takes in no classes of the user's (Wine). Returns the classes key it is under; empty for none.
QString registerSteamHandler()
{
    const QString command = "\"" + nativePath(recorderProgram()) + "\" \"%1\"";
    for (const QString classes : {"HKEY_CURRENT_USER\\Software\\Classes", "HKEY_LOCAL_MACHINE\\Software\\Classes"}) {
        QSettings key(classes, QSettings::NativeFormat);
        key.setValue("steam/Default", "URL:steam");
        key.setValue("steam/URL Protocol", "");
        key.setValue("steam/shell/open/command/Default", command);
        key.sync();
        const QSettings merged("HKEY_CLASSES_ROOT\\steam\\shell\\open\\command", QSettings::NativeFormat);
        if (merged.value("Default") == command)
            return classes;
        key.remove("steam");
    }
    return {};
}
#endif
} // namespace

class TestMaintenance : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWindow> m_w;
    QString m_game; // the game folder, with its trailing separator
    QString m_locked; // made immutable by a test
    const QString m_workingFolder = QDir::currentPath();

    void startForm()
    {
        QVERIFY(m_w->start());
        m_w->platform.messages.clear(); // the first-start prompt is not what these tests look at
    }

    QStringList tree() const
    {
        QStringList entries;
        QDirIterator it(m_w->dir.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            entries << it.next().mid(m_w->dir.path().size() + 1);
        entries.sort();
        return entries;
    }

private slots:
    void init()
    {
        m_w = std::make_unique<TestWindow>();
        // Settings files below the working folder are no game's: none is read, written or deleted.
        QVERIFY(QDir::setCurrent(m_w->dir.path()));
        QVERIFY(writeFile("Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML", "\t<Property name=\"Brightness\" value=\"120\" />\n"));
        m_game = m_w->dir.filePath("My Games & Co/Quillvane") + '/';
        for (const char *file : {"Binaries/QVX.EXE", "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML",
                                 "GAMEDATA/SHADERCACHE/SUB/b.bin"})
            QVERIFY(writeFile(m_game + file));
        QVERIFY(writeFile(m_game + "Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML",
                          "\t<Property name=\"Vibration\" value=\"true\" />\n"));
        QVERIFY(QFile::setPermissions(m_game + "Binaries/QVX.EXE",
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void cleanup()
    {
        // `touch pwned` run by any shell would leave that file in its working folder.
        for (const QString &entry : tree())
            QVERIFY2(QFileInfo(entry).fileName() != "pwned", qPrintable(entry));
        QVERIFY(QDir::setCurrent(m_workingFolder) && !QFileInfo::exists(QDir::home().filePath("pwned")));
        if (!m_locked.isEmpty())
            QProcess::execute("chattr", {"-i", std::exchange(m_locked, {})});
        m_w.reset();
    }

    // Every button and link through the real widgets: the question or warning it shows, and the one
    // command it hands on (exact command line and window style) or, when stopped, that nothing happens.
    void buttonsAndLinks_data()
    {
        QTest::addColumn<Control>("control");
        QTest::addColumn<Before>("before");
        QTest::addColumn<QString>("message"); // a question ends with '?', anything else is a warning
        QTest::addColumn<QString>("line");    // empty: nothing runs; "%1" is the game folder
        QTest::addColumn<int>("style");

        const QString exe = "Binaries/QVX.EXE", cache = "GAMEDATA/SHADERCACHE";
        const QString settings = "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML";
        const QString cacheQ = "Delete ShaderCache?", settingsQ = "Delete All Graphics Settings?";
        using enum Control;
        using enum Before;
        QTest::newRow("Reload, nothing registered") << Reload << Unregistered
            << "No Quillvane QVX.EXE has been chosen yet, so no settings were read." << "" << 0;
        QTest::newRow("Apply, nothing registered") << Apply << Unregistered
            << "No Quillvane QVX.EXE has been chosen yet, so no settings were written." << "" << 0;
        QTest::newRow("Launch") << Launch << Registered << "" << "cmd.exe /c start %1" + exe << 0;
        QTest::newRow("Launch, nothing registered") << Launch << Unregistered
            << "No Quillvane QVX.EXE is registered yet, so there is nothing to launch." << "" << 0;
        QTest::newRow("Launch, executable vanished") << Launch << ExeGone
            << "Quillvane QVX.EXE is no longer there:\n%1" + exe << "" << 0;
        QTest::newRow("Launch, executable path names a folder") << Launch << ExeIsFolder
            << "Quillvane QVX.EXE is no longer there:\n%1Binaries" << "" << 0;
        QTest::newRow("Del ShaderCache") << DelShaderCache << Registered << cacheQ
                                         << "cmd.exe /c del %1" + cache + "\\*.*" << 1;
        QTest::newRow("Del ShaderCache, No") << DelShaderCache << Registered << cacheQ << "" << 0;
        QTest::newRow("Del ShaderCache, no game folder yet") << DelShaderCache << Unregistered
            << "No Quillvane QVX.EXE has been chosen yet, so there is no shader cache to delete." << "" << 0;
        QTest::newRow("Del ShaderCache, no such folder") << DelShaderCache << CacheGone
            << "There is no shader cache folder at\n%1" + cache << "" << 0;
        QTest::newRow("Del All Settings") << DelAllSettings << Registered << settingsQ
            << "cmd.exe /c del \"%1" + settings + '"' << 1;
        QTest::newRow("Del All Settings, No") << DelAllSettings << Registered << settingsQ << "" << 0;
        QTest::newRow("Del All Settings, nothing registered") << DelAllSettings << Unregistered
            << "No Quillvane QVX.EXE has been chosen yet, so there is no graphics settings file to delete." << "" << 0;
        QTest::newRow("Del All Settings, file already gone") << DelAllSettings << SettingsGone
            << "The graphics settings file is already gone:\n%1" + settings << "" << 0;
        const QStringList images = {"http://social.example.com/tarnwell", "http://microblog.example.com/tarnwell",
            "http://community.example.net/id/tarnwell", "http://code.example.org/tarnwell", "http://www.example.com/",
            "http://video.example.com/tarnwell"};
        for (int n = 1; n <= 6; ++n)
            QTest::addRow("Image%d", n) << Control(int(Image1) + n - 1) << Registered << ""
                                        << "cmd.exe /c start " + images[n - 1] << 0;
        QTest::newRow("Label20") << Label20 << Registered << "" << "cmd.exe /c start http://www.example.com/" << 0;
    }

    void buttonsAndLinks()
    {
        QFETCH(Control, control);
        QFETCH(Before, before);
        QFETCH(QString, message);
        QFETCH(QString, line);
        QFETCH(int, style);
        message = nativePath(message.replace("%1", m_game));
        if (line.contains("%1")) { // the launch and shader-cache commands name their path in its short form
            const QString operand = line.replace("%1", m_game).section(' ', 3).remove('"').remove("\\*.*");
            line.replace(operand, control == Control::DelAllSettings ? nativePath(operand) : shortName(operand));
        }
        startForm();
        // What registration and the reader leave behind, up to the stage the row asks for.
        const bool registered = before != Before::Unregistered;
        const QString exe = m_game + (before == Before::ExeIsFolder ? "Binaries" : "Binaries/QVX.EXE");
        m_w->form->GameExePath = registered ? nativePath(exe) : QString();
        m_w->form->GameFolder = registered ? nativePath(m_game) : QString();
        m_w->form->GraphicsSettingsPath =
            registered ? nativePath(m_game + "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML") : QString();
        if (!registered) // as "Reload" leaves it: nothing named below the working folder
            m_w->form->ReadConfig();
        const QString gone = before == Before::ExeGone        ? "Binaries/QVX.EXE"
                             : before == Before::CacheGone    ? "GAMEDATA/SHADERCACHE"
                             : before == Before::SettingsGone ? "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML" : "";
        if (!gone.isEmpty())
            QVERIFY(QFile::remove(m_game + gone) || QDir(m_game + gone).removeRecursively());
        const QStringList entries = tree();
        // A question is answered No where the row expects nothing to run, else Yes.
        m_w->platform.answers << (line.isEmpty() && message.endsWith('?') ? Platform::No : Platform::Yes);

        QWidget *widget = m_w->form->findChild<QWidget *>(controlName(control));
        QVERIFY(widget);
        QTest::mouseClick(widget, Qt::LeftButton);
        QTRY_VERIFY(!m_w->form->isBusy());

        QCOMPARE(m_w->platform.prompts(), message.isEmpty() ? QStringList() : QStringList{message});
        // A question comes with Yes/No under its own title, No the answer of Enter; a warning with OK alone.
        for (const FakePlatform::Message &shown : m_w->platform.messages)
            QCOMPARE(shown.options, shown.title == message ? Platform::YesNo | Platform::DefaultNo
                                                           : Platform::MessageOptions(Platform::Exclamation));
        QCOMPARE(tree(), entries); // the window itself creates and deletes nothing
        QCOMPARE(m_w->form->text(3)->text(), "115"); // and reads nothing
        QCOMPARE(m_w->platform.commands.size(), line.isEmpty() ? 0 : 1);
        if (line.isEmpty())
            return;
        const Command &command = m_w->platform.commands[0];
        QCOMPARE(command.line, line);
        QCOMPARE(command.windowStyle, style);
        // The runner acts on the operand, not the line: it must name the same thing, bare.
        QCOMPARE(command.action, line.contains(" /c del ") ? Command::Action::Delete : Command::Action::Start);
        QCOMPARE(command.allFilesIn, line.endsWith("\\*.*"));
        QCOMPARE(command.webAddress, line.contains("http://"));
        QCOMPARE(command.operand, line.section(' ', 3).remove('"').remove("\\*.*"));
    }

    // The real runner on paths a shell would read as more than a name: it deletes exactly what the
    // command names, then starts a program from the subfolder that was kept, in that program's own folder.
    void runner_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("oneFile"); // else every file directly in the folder
        for (auto name : {"blanks  it's \"quoted\"", "a & b %PATH% ^ x; touch pwned", "$(touch pwned) `touch pwned`"}) {
            QTest::addRow("%s, folder", name) << QString(name) << false;
            QTest::addRow("%s, one file", name) << QString(name) << true;
        }
    }

    void runner()
    {
        QFETCH(QString, name);
        QFETCH(bool, oneFile);
        UNIX_ONLY("names with quotes and asterisks, symbolic links and a shell script"); // Windows: launch()
        const QString folder = m_w->dir.filePath(name), target = folder + '/' + name + ".MXML";
        const QString program = folder + "/SUB/QVX " + name + ".sh";
        const QStringList files = {name, name + ".MXML", "a.bin", ".hidden", "x & del *"};
        for (const QString &file : files)
            QVERIFY(writeFile(folder + '/' + file));
        for (const QString &kept :
             {name + "/SUB/deeper/kept.bin", name + " neighbour.bin", QString("outside/kept.bin")})
            QVERIFY(writeFile(m_w->dir.filePath(kept)));
        QVERIFY(writeFile(program, "#!/bin/sh\ntouch started\n"));
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(QFile::link(m_w->dir.filePath("outside"), folder + "/linked folder"));
        QVERIFY(QFile::link(m_w->dir.filePath("outside/kept.bin"), folder + "/linked file"));
        QStringList expected = tree();
        // Hidden files stay, as a plain delete of every file leaves them.
        const QStringList visible = files.filter(QRegularExpression("^[^.]")) + QStringList{"linked file"};
        for (const QString &file : oneFile ? QStringList{name + ".MXML"} : visible)
            QVERIFY(expected.removeOne(name + '/' + file));

        DesktopPlatform().runCommand(oneFile ? deleteFileCommand(target) : deleteAllFilesCommand(folder));
        QTRY_COMPARE(tree(), expected);
        // A folder is never "a file", and what is not there is a failure the caller can see.
        QVERIFY(!deleteFile(folder).ok() && !deleteFile(target).ok() && !deleteAllFilesIn(target).ok());
        QCOMPARE(tree(), expected);

        DesktopPlatform().runCommand(launchCommand(program));
        // The program makes its note in its working folder, which must be the program's own.
        QTRY_VERIFY(QFileInfo::exists(folder + "/SUB/started"));
    }

    // Launch on a system that cannot start a Windows program: through Steam when the game lies in a
    // Steam library, else a plain message; a program this system can start starts directly.
    void launch_data()
    {
        QTest::addColumn<QString>("folder"); // the game folder, below the temporary folder
        QTest::addColumn<QByteArray>("exe");
        QTest::addColumn<bool>("executable");
        QTest::addColumn<QString>("message"); // "%1" is the game folder
        QTest::addColumn<QString>("line");
        QTest::addColumn<Setup>("setup");

        const QString library = "Steam/steamapps/common/", windows = "%1Binaries/QVX.EXE\n\nThis is a Windows "
            "program, which this system cannot start by itself. It needs Steam or another compatibility layer to run: "
            "right-click Launch and choose Launch with... to start it through one.";
        using enum Setup;
        QTest::newRow("Windows program in a Steam library") << library + "Quillvane" << QByteArray("MZ\x90\0", 4)
            << false << "" << "cmd.exe /c start steam://rungameid/4711" << Plain;
        QTest::newRow("Windows program with execute permission") << library + "Quillvane Demo" << QByteArray("MZ")
            << true << "" << "cmd.exe /c start steam://rungameid/12" << Plain;
        const QString steamFailed = "Quillvane could not be started:\nsteam://rungameid/4711\n\n";
        QTest::newRow("Steam: the URL opener fails") << library + "Quillvane" << QByteArray("MZ") << false
            << steamFailed + "the program that opens it (xdg-open) ended with exit status 4"
            << "cmd.exe /c start steam://rungameid/4711" << OpenerFails;
        QTest::newRow("Steam: no URL opener") << library + "Quillvane" << QByteArray("MZ") << false
            << steamFailed + "no program on this system opens it (xdg-open was not found)"
            << "cmd.exe /c start steam://rungameid/4711" << NoOpener;
        QTest::newRow("no manifest names the folder") << library + "Other" << QByteArray("MZ") << false << windows
                                                      << "" << Plain;
        QTest::newRow("outside a Steam library") << "Games/Quillvane" << QByteArray("MZ") << false << windows << ""
                                                 << Plain;
        // Only ASCII digits make an app id ("\u0664\u0667" are Arabic-Indic digits): the file's name is used.
        QTest::newRow("app id of other digits") << library + "Quillvane Arabic" << QByteArray("MZ") << false << ""
            << "cmd.exe /c start steam://rungameid/99" << Plain;
        // A manifest far larger than any real one is passed over unread.
        QTest::newRow("large manifest") << library + "Quillvane Large" << QByteArray("MZ") << false << windows << ""
                                         << Plain;
#ifndef Q_OS_WIN // a link from outside into the library (Unix links): where the folder really lies counts
        QTest::newRow("link into a library") << "Games/Linked" << QByteArray("MZ") << false << ""
            << "cmd.exe /c start steam://rungameid/4711" << LinkIntoLibrary;
#endif
        QTest::newRow("script") << "Games/Quillvane" << QByteArray("#!/bin/sh\ntouch started\n") << true << ""
            << "cmd.exe /c start %1Binaries/QVX.EXE" << Script;
        // Named as the user chose it (not by its short path), with the system's own reason, which
        // Windows words in its language: there the message only has to go on after the path.
        QTest::newRow("cannot be started") << "Games/Quillvane Game" << QByteArray("no program\n") << true
            << "Quillvane could not be started:\n%1Binaries/QVX.EXE\n\n"
                   + QString(kWindows ? "" : "execv: Exec format error")
            << "cmd.exe /c start %1Binaries/QVX.EXE" << NoProgram;
#ifdef TARNWELL_FAKE_GAME
        const QString fakeGame = QCoreApplication::applicationDirPath() + "/" TARNWELL_FAKE_GAME;
        QTest::newRow("Windows starts it in its own folder") << "Games/Quillvane" << readFile(fakeGame) << true
            << "" << "cmd.exe /c start %1Binaries/QVX.EXE" << WindowsProgram;
#endif
    }

    void launch()
    {
        QFETCH(QString, folder);
        QFETCH(QByteArray, exe);
        QFETCH(bool, executable);
        QFETCH(QString, message);
        QFETCH(QString, line);
        QFETCH(Setup, setup);
        if (setup != Setup::WindowsProgram && setup != Setup::NoProgram)
            UNIX_ONLY("Windows starts a Windows program itself, and no script");
        const QString game = m_w->dir.filePath(folder) + '/';
        // The URL opener is one of the test's own, alone on the search path.
        const QByteArray path = qgetenv("PATH");
        const auto restorePath = qScopeGuard([path] { qputenv("PATH", path); });
        const bool opener = setup == Setup::OpenerFails || setup == Setup::NoOpener;
        if (opener) {
            const QString bin = m_w->dir.filePath("bin");
            QVERIFY(QDir().mkpath(bin));
            if (setup == Setup::OpenerFails)
                QVERIFY(writeFile(bin + "/xdg-open", "#!/bin/sh\nexit 4\n")
                        && QFile::setPermissions(bin + "/xdg-open", QFile::ReadOwner | QFile::ExeOwner));
            qputenv("PATH", QFile::encodeName(bin));
        }
        message = nativePath(message.replace("%1", game));
        // Comments, escapes, bare words and a nested block whose installdir is not the game's.
        QVERIFY(writeFile(m_w->dir.filePath("Steam/steamapps/appmanifest_4711.acf"),
              "// by hand\n\"AppState\"\n{\n\t\"appid\"\t\"4711\"\n\t\"name\"\t\"Say \\\"hi\\\"\"\n"
              "\t\"UserConfig\" { \"installdir\" \"Other\" }\n\tinstalldir Quillvane\n}\n"));
        QVERIFY(writeFile(m_w->dir.filePath("Steam/steamapps/appmanifest_12.acf"),
              "\"AppState\"{\"AppID\" \"12\" \"installdir\" \"Quillvane Demo\"}"));
        QVERIFY(writeFile(m_w->dir.filePath("Steam/steamapps/appmanifest_99.acf"),
                          "\"AppState\" { \"appid\" \"\u0664\u0667\" \"installdir\" \"Quillvane Arabic\" }"));
        QVERIFY(writeFile(m_w->dir.filePath("Steam/steamapps/appmanifest_77.acf"),
                          "\"AppState\" { \"appid\" \"77\" \"installdir\" \"Quillvane Large\" }"
                              + QByteArray(100 << 10, ' ')));
        if (setup == Setup::LinkIntoLibrary) {
            const QString library = m_w->dir.filePath("Steam/steamapps/common/");
            QVERIFY(QDir().mkpath(library + "Quillvane") && QDir().mkpath(m_w->dir.filePath("Games")));
            QVERIFY(QFile::link(library + "Quillvane", m_w->dir.filePath(folder)));
        }
        QVERIFY(writeFile(game + "Binaries/QVX.EXE", exe));
        if (line.contains("%1"))
            line = "cmd.exe /c start " + shortName(game + "Binaries/QVX.EXE");
        QVERIFY(QFile::setPermissions(game + "Binaries/QVX.EXE", QFile::ReadOwner | QFile::WriteOwner
                                          | (executable ? QFile::ExeOwner : QFile::Permissions())));
        startForm();
        m_w->platform.runForReal = !line.contains("steam:") || opener; // no real URL handler is asked
        m_w->loadGame(game); // no settings files: nothing to read

        QTest::mouseClick(m_w->form->command(2), Qt::LeftButton);
        QTRY_VERIFY(!m_w->form->isBusy());
        QCOMPARE(m_w->platform.commands.size(), line.isEmpty() ? 0 : 1);
        if (!line.isEmpty())
            QCOMPARE(m_w->platform.commands[0].line, line);
        if (setup == Setup::Script || setup == Setup::WindowsProgram) // started in its own folder
            QTRY_VERIFY(QFileInfo::exists(game + "Binaries/started"));
        QTRY_COMPARE(m_w->platform.prompts().size(), message.isEmpty() ? 0 : 1);
        const QString shown = m_w->platform.prompts().value(0);
        QCOMPARE(shown.left(message.size()), message);
        if (message.endsWith("\n\n")) // the system's reason, not Qt's word for any failure
            QVERIFY2(shown.size() > message.size() && !shown.contains("Process failed to start"), qPrintable(shown));
        else
            QCOMPARE(shown, message);
    }

    // "Launch with...": the way chosen is kept per installation and offered first when asked again; a
    // command line runs without a shell, in the game's folder, its words split as the system's own
    // programs split theirs, its variables passed as written (noted by the program it runs).
    void launchWith_data()
    {
        QTest::addColumn<LaunchChoice::Kind>("way");
        QTest::addColumn<QString>("line");        // %R the recording program, %N its native path
        QTest::addColumn<bool>("reopened");       // then "Launch with..." again, answered by Enter, Enter
        QTest::addColumn<QByteArray>("recorded"); // its arguments in brackets, then TW_VAR; %E the executable
        QTest::addColumn<QString>("message");

        using enum LaunchChoice::Kind;
        QTest::newRow("%command% and a variable") << CommandLine << "TW_VAR=\"x y\" %R --first %command% \"a b\""
            << false << QByteArray("[--first][%E][a b]\nx y\n") << "";
        QTest::newRow("the saved line offered again") << CommandLine << "TW_VAR=1 %R %command%" << true
            << QByteArray("[%E]\n1\n") << "";
        QTest::newRow("hostile words, literally") << CommandLine
            << "%R \"it's\" ; '$(touch pwned)' `id` \"a\\\"b\" | %command%" << false
            << QByteArray(kWindows ? "[it's][;]['$(touch][pwned)'][`id`][a\"b][|][%E]\n\n" // no single quotes there
                                   : "[it's][;][$(touch pwned)][`id`][a\"b][|][%E]\n\n") << "";
        QTest::newRow("no %command%: the game's own arguments") << CommandLine << "TW_VAR=1 -novid" << false
            << QByteArray("[-novid]\n1\n") << "";
        // Only NAME=value written plainly sets a variable: a quoted one is a word like any other.
        QTest::newRow("\"NAME=value\" quoted is the program") << CommandLine << "\"TW_VAR=x y\" %R %command%"
            << false << QByteArray() << "Quillvane could not be started:\nTW_VAR=x y\n\n";
        // Windows keeps a backslash that no quote follows; a Unix line reads it as an escape.
        QTest::newRow("backslashes of a Windows path") << CommandLine << "%N C:\\Games\\tool.exe %command%" << false
            << QByteArray(kWindows ? "[C:\\Games\\tool.exe][%E]\n\n" : "[C:Gamestool.exe][%E]\n\n") << "";
        // A relative program is the one beside the game, where the line runs, not one in Tarnwell's own folder.
        QTest::newRow("relative program, from Binaries") << CommandLine << "TW_VAR=2 ./beside.exe %command%" << false
            << QByteArray("[%E]\n2\n") << "";
        QTest::newRow("no such program") << CommandLine << "no-such-program-tw %command%" << false << QByteArray()
            << "Quillvane could not be started:\nno-such-program-tw\n\n";
        QTest::newRow("Steam, in no library") << Steam << "" << false << QByteArray()
            << "%E\n\nis in no Steam library that names it, so Steam cannot start it. Choose another way with "
               "Launch with... (right-click Launch).";
    }

    void launchWith()
    {
        QFETCH(LaunchChoice::Kind, way);
        QFETCH(QString, line);
        QFETCH(bool, reopened);
        QFETCH(QByteArray, recorded);
        QFETCH(QString, message);
        const QString exe = m_game + "Binaries/QVX.EXE", recorder = m_w->dir.filePath("record.exe");
        for (const QString &program : {recorder, exe, m_game + "Binaries/beside.exe"})
            QVERIFY((!QFile::exists(program) || QFile::remove(program)) && QFile::copy(recorderProgram(), program));
        startForm();
        m_w->loadGame(m_game);
        m_w->platform.runForReal = true;
        m_w->platform.choices << way << FakePlatform::kEnter;
        m_w->platform.texts << line.replace("%R", recorder).replace("%N", nativePath(recorder)) << QString();
        QCOMPARE(m_w->form->command(2)->actions().value(0)->text(), QString("Launch with..."));
        const QString installations = RecentInstallations::filePath(m_w->platform);
        m_w->form->command(2)->actions().value(0)->trigger();
        QTRY_COMPARE(launchChoice(readInstallations(installations).items, nativePath(exe)).kind, way);
        if (reopened) { // Enter on the way, Enter on the line: both as they were
            m_w->form->command(2)->actions().value(0)->trigger();
            QTRY_COMPARE(m_w->platform.texts.size(), 0);
        }
        // Offered first: the default, then what was chosen.
        QCOMPARE(m_w->platform.preselected, reopened ? QList<int>({LaunchChoice::Default, way})
                                                     : QList<int>({LaunchChoice::Default}));
        QTest::mouseClick(m_w->form->command(2), Qt::LeftButton);
        QTRY_VERIFY(!m_w->form->isBusy());
        if (!recorded.isEmpty())
            QTRY_COMPARE(readFile(m_game + "Binaries/recorded"), recorded.replace("%E", shortName(exe).toUtf8()));
        QTRY_VERIFY2(m_w->platform.prompts().size() == int(!message.isEmpty()),
                     qPrintable(m_w->platform.prompts().join("\n")));
        message.replace("%E", nativePath(exe));
        QCOMPARE(m_w->platform.prompts().value(0).left(message.size()), message); // then the system's reason
        QVERIFY(!QFileInfo::exists(m_game + "Binaries/pwned"));
    }

    // A line of arguments alone starts the game itself: a failure names it by the path the user chose,
    // never by its short form, with the system's reason after it.
    void launchArgumentsOnlyFails()
    {
        const QString exe = m_game + "Binaries/QVX.EXE";
        QVERIFY(writeFile(exe, "no program\n"));
        QVERIFY(QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        startForm();
        m_w->loadGame(m_game);
        m_w->platform.runForReal = true;
        m_w->platform.choices << LaunchChoice::CommandLine;
        m_w->platform.texts << "-novid";
        m_w->form->command(2)->actions().value(0)->trigger();
        QTRY_COMPARE(launchChoice(readInstallations(RecentInstallations::filePath(m_w->platform)).items,
                                  nativePath(exe)).kind, LaunchChoice::CommandLine);
        QTest::mouseClick(m_w->form->command(2), Qt::LeftButton);
        QTRY_COMPARE(m_w->platform.prompts().size(), 1);
        const QString named = "Quillvane could not be started:\n" + nativePath(exe) + "\n\n";
        QCOMPARE(m_w->platform.prompts().value(0).left(named.size()), named);
        QVERIFY(m_w->platform.prompts().value(0).size() > named.size());
    }

    // A named pipe where the executable was is no Windows program, and looking at it never waits
    // for a writer that does not come (the check runs beside the window; here beside the test).
    void pipeInPlaceOfTheGame()
    {
        UNIX_ONLY("named pipes in the file system are Unix things");
        const QString exe = m_game + "Binaries/QVX.EXE";
        QVERIFY(QDir().mkpath(m_game + "Binaries") && (!QFile::exists(exe) || QFile::remove(exe)));
#ifdef Q_OS_UNIX
        QVERIFY(::mkfifo(QFile::encodeName(exe).constData(), 0644) == 0);
#endif
        QObject owner;
        std::optional<bool> needs;
        const JobHandle job = runBeside<bool>(&owner, [exe](Job &) { return needsCompatibilityLayer(exe); },
                                              [&needs](bool answer) { needs = answer; });
        QTRY_VERIFY(needs.has_value());
        QVERIFY(!*needs);
    }

    void foreignConfiguration_data()
    {
        QTest::addColumn<QStringList>("theirs"); // given to another user, in the program folder ("" the folder)
        QTest::addColumn<bool>("commandLine");   // Launch with... a command line, else the game itself
        QTest::addColumn<QString>("refusal");    // the start of the message; empty: it runs
        const QStringList all{"", "/Tarnwell.dat", "/Installations.json"}, none;
        QTest::newRow("another user's command line") << all << true << "The command line to launch Quillvane with "
                                                                       "was not run: it was read from ";
        QTest::newRow("an executable another user named") << all << false << "%E\n\nwas not started: it was named by ";
        // The line is the superuser's own, but %command% stands for what another user named.
        QTest::newRow("own line, another user's executable") << QStringList{"/Tarnwell.dat"} << true
                                                             << "%E\n\nwas not started: it was named by ";
        QTest::newRow("the superuser's own command line") << none << true << "";
        QTest::newRow("an executable the superuser named") << none << false << "";
    }

    // Run as the superuser with another user's configuration (as sudo may keep XDG_CONFIG_HOME), what
    // that user wrote there never names a program the superuser runs.
    void foreignConfiguration()
    {
        UNIX_ONLY("owners of folders are Unix things here");
#ifdef Q_OS_UNIX
        QFETCH(QStringList, theirs);
        QFETCH(bool, commandLine);
        QFETCH(QString, refusal);
        if (!isSuperuser())
            QSKIP("only the superuser runs another user's configuration here");
        QTemporaryDir tmp;
        const QString program = tmp.filePath("program"), exe = m_game + "Binaries/QVX.EXE";
        QVERIFY(QFile::remove(exe) && QFile::copy(recorderProgram(), exe));
        QVERIFY(makeProgramFolder(program, exe));
        const QByteArray list = "{\"installations\": [{\"executable\": \"" + exe.toUtf8() + "\", \"launch\": \""
            + (commandLine ? "command\", \"command\": \"TW_VAR=3 %command% -novid\"" : "default\"") + "}]}";
        QVERIFY(writeFile(program + "/Installations.json", list));
        for (const QString &name : theirs)
            QVERIFY(::chown(QFile::encodeName(program + name).constData(), 65534, 65534) == 0);
        FakePlatform platform(program);
        platform.runForReal = true;
        Form1 form(platform);
        QVERIFY(start(form));
        platform.messages.clear();
        QTest::mouseClick(form.command(2), Qt::LeftButton);
        QTRY_VERIFY(!form.isBusy());
        QCOMPARE(platform.commands.size(), refusal.isEmpty() ? 1 : 0);
        QVERIFY2(refusal.isEmpty() ? platform.prompts().isEmpty()
                                   : platform.prompts().value(0).startsWith(QString(refusal).replace("%E", exe)),
                 qPrintable(platform.prompts().join("\n")));
        if (refusal.isEmpty())
            QTRY_COMPARE(readFile(m_game + "Binaries/recorded"), commandLine ? "[-novid]\n3\n" : "\n\n");
#endif
    }

    // A line taken apart by each system's rules, whichever system runs the test.
    void commandLines_data()
    {
        QTest::addColumn<CommandLineRules>("rules");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QStringList>("words"); // the program and its arguments; E the executable

        using enum CommandLineRules;
        using L = QStringList;
        // Only NAME=value with "NAME=" outside quotes sets a variable, on both.
        QTest::newRow("Unix: \"A=b c\" is a word") << Unix << "\"A=b c\" %command%" << L{} << L{"A=b c", "E"};
        QTest::newRow("Unix: A=\"b c\" sets A") << Unix << "A=\"b c\" B=1 %command% x" << L{"A=b c", "B=1"}
                                                  << L{"E", "x"};
        QTest::newRow("Windows: \"A=b c\" is a word") << Windows << "\"A=b c\" %command%" << L{} << L{"A=b c", "E"};
        // A backslash escapes on Unix; on Windows only in a run before a quote, single quotes are plain.
        QTest::newRow("Unix: C:\\Games\\tool.exe") << Unix << "C:\\Games\\tool.exe %command%" << L{}
                                                   << L{"C:Gamestool.exe", "E"};
        QTest::newRow("Windows: C:\\Games\\tool.exe") << Windows << "C:\\Games\\tool.exe 'a b' %command%" << L{}
                                                      << L{"C:\\Games\\tool.exe", "'a", "b'", "E"};
        QTest::newRow("Windows: odd run before a quote") << Windows << "a\\\\\\\"b c %command%" << L{}
                                                         << L{"a\\\"b", "c", "E"};
        QTest::newRow("Windows: even run before a quote") << Windows << "a\\\\\\\\\"b c\" d %command%" << L{}
                                                          << L{"a\\\\b c", "d", "E"};
        QTest::newRow("Windows: doubled quotes inside") << Windows << "\"a \"\"b\"\" c\" %command%" << L{}
                                                        << L{"a \"b\" c", "E"};
        // A value holding = and , is one value, whole.
        for (const CommandLineRules rules : {Unix, Windows})
            QTest::addRow("%s: WINEDLLOVERRIDES=d3d11=n,b", rules == Unix ? "Unix" : "Windows")
                << rules << "WINEDLLOVERRIDES=d3d11=n,b %command%" << L{"WINEDLLOVERRIDES=d3d11=n,b"} << L{"E"};
    }

    void commandLines()
    {
        QFETCH(CommandLineRules, rules);
        QFETCH(QString, line);
        QFETCH(QStringList, environment);
        QFETCH(QStringList, words);
        const LaunchLine launch = launchLine(line, "E", rules);
        QCOMPARE(launch.environment, environment);
        QCOMPARE(QStringList{launch.program} + launch.arguments, words);
        QCOMPARE(launch.problem, QString());
    }

    // "Launch with..." Steam for a copy in a Steam library: the address goes to the system's opener of
    // steam:// addresses (xdg-open; on Windows the shell's handler), and one that cannot be had is reported.
    void steamWay_data()
    {
        QTest::addColumn<Opener>("opener");
        QTest::addColumn<QByteArray>("recorded");
        QTest::addColumn<QString>("message");
        QTest::newRow("handed to the opener") << Opener::Own << QByteArray("[steam://rungameid/4711]\n\n") << "";
        QTest::newRow("no opener") << Opener::None << QByteArray()
            << "Quillvane could not be started:\nsteam://rungameid/4711\n\nno program on this system opens it"
                   + QString(kWindows ? "" : " (xdg-open was not found)");
    }

    void steamWay()
    {
        QFETCH(Opener, opener);
        QFETCH(QByteArray, recorded);
        QFETCH(QString, message);
        const QString game = m_w->dir.filePath("Steam/steamapps/common/Quillvane/"), bin = m_w->dir.filePath("bin");
        QVERIFY(writeFile(game + "Binaries/QVX.EXE", "MZ"));
        QVERIFY(writeFile(m_w->dir.filePath("Steam/steamapps/appmanifest_4711.acf"),
                          "\"AppState\" { \"appid\" \"4711\" \"installdir\" \"Quillvane\" }"));
        // The opener is the test's own, alone on the search path; on Windows the user's handler, put back after.
        const QByteArray path = qgetenv("PATH");
        const auto restorePath = qScopeGuard([path] { qputenv("PATH", path); });
#ifdef Q_OS_WIN
        if (QSettings("HKEY_CLASSES_ROOT\\steam", QSettings::NativeFormat).contains("URL Protocol"))
            QSKIP("Steam's own handler is installed: the address would start it");
        const QString classes = opener == Opener::Own ? registerSteamHandler() : QString();
        const auto removeHandler = qScopeGuard([classes] {
            if (!classes.isEmpty())
                QSettings(classes, QSettings::NativeFormat).remove("steam");
        });
        if (opener == Opener::Own && classes.isEmpty())
            QSKIP("no handler of steam: addresses can be registered here");
#endif
        QVERIFY(QDir().mkpath(bin) && (opener == Opener::None || QFile::copy(recorderProgram(), bin + "/xdg-open")));
        qputenv("PATH", QFile::encodeName(kWindows ? path : bin));
        startForm();
        m_w->loadGame(game);
        m_w->platform.runForReal = true;
        m_w->platform.choices << LaunchChoice::Steam;
        m_w->form->command(2)->actions().value(0)->trigger();
        QTest::mouseClick(m_w->form->command(2), Qt::LeftButton);
        QTRY_VERIFY(!m_w->form->isBusy());
        QCOMPARE(m_w->platform.commands.value(0).line, "cmd.exe /c start steam://rungameid/4711");
        // Steam says nothing here for a while: the status area does, and a second press asks no more.
        // When nothing could ask it, the note goes and a second press tries again.
        const QString asked = "Steam was asked to start the game. Launch with...: right-click Launch.";
        const auto noteAsExpected = [&](const QString &note) {
            if (message.isEmpty())
                QCOMPARE(m_w->form->label(22)->text(), note);
            else
                QTRY_VERIFY(m_w->form->label(22)->text() != asked);
        };
        noteAsExpected(asked);
        if (QTest::currentTestFailed())
            return;
        QTRY_COMPARE(m_w->platform.prompts().size(), message.isEmpty() ? 0 : 1);
        QTest::mouseClick(m_w->form->command(2), Qt::LeftButton);
        QTRY_VERIFY(!m_w->form->isBusy());
        noteAsExpected("Steam was already asked to start the game.");
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(m_w->platform.commands.size(), message.isEmpty() ? 1 : 2);
        if (!recorded.isEmpty())
            QTRY_COMPARE(readFile(m_w->dir.filePath("recorded")), recorded);
        QTRY_COMPARE(m_w->platform.prompts(), message.isEmpty() ? QStringList() : QStringList({message, message}));
    }

    // On a system that cannot start a Windows program by itself, a command line that names no
    // compatibility layer is pointed out, and a copy in a Steam library is offered Steam instead.
    void launchWithoutLayer_data()
    {
        QTest::addColumn<QString>("folder"); // the game folder, below the temporary folder
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("pressed");    // in the question, when one comes
        QTest::addColumn<QString>("question"); // empty: none comes; %E the executable, %L the line
        QTest::addColumn<LaunchChoice::Kind>("kept");

        const QString steam = "Steam/steamapps/common/Quillvane", games = "Games/Quillvane";
        const QString question = "%E\n\nis a Windows program, which this system cannot start by itself, and the command "
            "line\n%L\nnames no compatibility layer to start it through (wine, proton, umu-run, ...).";
        const QString inSteam = question + "\n\nThis copy lies in a Steam library: Steam can start it.";
        using enum LaunchChoice::Kind;
        QTest::newRow("Steam copy: Steam instead") << steam << "gamemoderun %command%" << 0 << inSteam << Steam;
        QTest::newRow("outside Steam: the line kept") << games << "gamemoderun %command%" << 0 << question << CommandLine;
        QTest::newRow("outside Steam: cancelled") << games << "gamemoderun %command%" << 1 << question << Default;
        QTest::newRow("no %command%: the executable itself") << games << "-novid" << 0 << question << CommandLine;
        QTest::newRow("wine after %command% is an argument") << games << "%command% wine" << 0 << question << CommandLine;
        // steam-run gives Linux programs a familiar set of libraries; it cannot start a Windows one.
        QTest::newRow("steam-run is no layer") << games << "steam-run %command%" << 0 << question << CommandLine;
        QTest::newRow("a layer by its path") << steam << "A=1 gamemoderun \"/opt/umu/umu-run\" %command%" << 0 << ""
                                             << CommandLine;
    }

    void launchWithoutLayer()
    {
        QFETCH(QString, folder);
        QFETCH(QString, line);
        QFETCH(int, pressed);
        QFETCH(QString, question);
        QFETCH(LaunchChoice::Kind, kept);
        UNIX_ONLY("Windows starts a Windows program itself");
        const QString exe = m_w->dir.filePath(folder) + "/Binaries/QVX.EXE";
        QVERIFY(writeFile(exe, "MZ\x90"));
        QVERIFY(writeFile(m_w->dir.filePath("Steam/steamapps/appmanifest_4711.acf"),
                          "\"AppState\" { \"appid\" \"4711\" \"installdir\" \"Quillvane\" }"));
        startForm();
        m_w->loadGame(m_w->dir.filePath(folder) + '/');
        m_w->platform.choices << LaunchChoice::CommandLine;
        m_w->platform.texts << line;
        m_w->platform.pressed << pressed;

        m_w->form->command(2)->actions().value(0)->trigger();
        const QString installations = RecentInstallations::filePath(m_w->platform);
        if (question.isEmpty())
            QTRY_VERIFY(QFile::exists(installations));
        else
            QTRY_COMPARE(m_w->platform.prompts(), QStringList{question.replace("%E", exe).replace("%L", line)});
        const QStringList buttons = folder.startsWith("Steam/")
            ? QStringList{"Launch through Steam", "Keep the command line", "Cancel"}
            : QStringList{"Keep the command line", "Cancel"};
        QCOMPARE(m_w->platform.messages.value(0).buttonTexts, question.isEmpty() ? QStringList() : buttons);
        QTRY_VERIFY(!m_w->form->isBusy()); // the list is written beside the window
        const LaunchChoice choice = launchChoice(readInstallations(installations).items, exe);
        QCOMPARE(choice.kind, kept);
        QCOMPARE(choice.commandLine, kept == LaunchChoice::Default ? QString() : line);
    }

    // A process that runs the game's executable, or is called by it (as compatibility layers call
    // the Windows program they run), is the game: Apply asks first, Launch starts no second copy. A
    // process that merely names it among its arguments is not, nor is one called by another file.
    void runningGame_data()
    {
        QTest::addColumn<QString>("named"); // the path the process names
        QTest::addColumn<Call>("call");
        QTest::addColumn<Platform::Answer>("answer"); // to "Write the settings anyway?"
        QTest::addColumn<bool>("running");

        using enum Call;
        QTest::newRow("called by its path, No") << "%1Binaries/QVX.EXE" << First << Platform::No << true;
        QTest::newRow("called by its Z: path, Yes") << "Z:%2BINARIES\\qvx.exe" << First << Platform::Yes
                                                     << true;
        QTest::newRow("called by its C: path in the prefix") << "c:\\Binaries\\QVX.EXE" << First
                                                              << Platform::No << true;
        QTest::newRow("run as the executable itself") << "" << Itself << Platform::No << true;
        QTest::newRow("its path as an argument only") << "%1Binaries/QVX.EXE" << Later << Platform::No
                                                       << false;
        QTest::newRow("its Z: path as an argument only") << "Z:%2BINARIES\\qvx.exe" << Later
                                                          << Platform::No << false;
        // As Wine finds the file: letter case aside, from the process's own folder, either separator.
        QTest::newRow("called by its path in another letter case") << "%1binaries/qvx.exe" << First
                                                                    << Platform::No << true;
        QTest::newRow("wine binaries/qvx.exe") << "binaries/qvx.exe" << FromGameFolder << Platform::No << true;
        QTest::newRow("wine Binaries\\QVX.EXE") << "Binaries\\QVX.EXE" << FromGameFolder << Platform::No << true;
        QTest::newRow("relative, another folder's") << "Binaries/QVX.EXE" << First << Platform::No << false;
        QTest::newRow("another installation") << "%1Old/Binaries/QVX.EXE" << OtherInstallation << Platform::No
                                              << false;
        QTest::newRow("only its folder") << "%1Binaries" << First << Platform::No << false;
    }

    void runningGame()
    {
#ifdef TARNWELL_FAKE_GAME
        const QString fakeGame = QCoreApplication::applicationDirPath() + "/" TARNWELL_FAKE_GAME;
#endif
        QFETCH(QString, named);
        QFETCH(Call, call);
        QFETCH(Platform::Answer, answer);
        QFETCH(bool, running);
        const QString exe = m_game + "Binaries/QVX.EXE";
        const QString settings = m_game + "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML";
        QVERIFY(writeFile(settings, "<Data>\n\t<Property name=\"Brightness\" value=\"120\" />\n</Data>\n"));
        QProcess other; // bounded: it ends by itself after a minute
        const auto stop = qScopeGuard([&other] { other.kill(); other.waitForFinished(5000); });
#ifdef TARNWELL_FAKE_GAME // the process list names each process's image: a game's QVX.EXE of the test's own
        if (call != Call::Itself && call != Call::OtherInstallation) // no argv[0] of its own choosing there
            UNIX_ONLY("Windows knows a process by its image, not by its command line");
        const QString image = call == Call::Itself ? exe : QString(named).replace("%1", m_game);
        QVERIFY((!QFile::exists(image) || QFile::remove(image)) && QDir().mkpath(QFileInfo(image).path())
                && QFile::copy(fakeGame, image));
        other.start(image, {"60"});
#else
        if (call == Call::Itself) {
            QVERIFY(QFile::remove(exe) && QFile::copy("/bin/sleep", exe) && QFile::link(exe, m_w->dir.filePath("g")));
            other.start(m_w->dir.filePath("g"), {"60"});
        } else {
            // The prefix maps C: to the game folder, as a compatibility layer's prefix maps its drives.
            const QString prefix = m_w->dir.filePath("prefix");
            QVERIFY(QDir().mkpath(prefix + "/dosdevices") && QFile::link(m_game, prefix + "/dosdevices/c:"));
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("WINEPREFIX", prefix);
            other.setProcessEnvironment(environment);
            if (call == Call::FromGameFolder)
                other.setWorkingDirectory(m_game);
            const QString windowsForm = QString(m_game).replace('/', '\\').toLower();
            named.replace("%1", m_game).replace("%2", windowsForm);
            // bash's exec -a gives the program the first argument of the row's choice; the shell that
            // waits for its sleep keeps the name among its own arguments.
            if (call != Call::Later)
                other.start("/bin/bash", {"-c", "exec -a \"$0\" sleep 60", named});
            else
                other.start("/bin/sh", {"-c", "sleep 60; :", named});
            QVERIFY(other.waitForStarted(5000));
            const QString commandLine = "/proc/" + QString::number(other.processId()) + "/cmdline";
            // Once bash has called sleep: its own command line names the path too, but not first.
            const QByteArray first = QFile::encodeName(named) + '\0';
            QTRY_VERIFY(call == Call::Later ? readFile(commandLine).contains(first)
                                            : readFile(commandLine).startsWith(first));
        }
#endif
        QVERIFY(other.waitForStarted(5000));
        startForm();
        m_w->loadGame(m_game);
        m_w->platform.answers << answer << Platform::No;

        m_w->form->text(3)->setText("90");
        QTest::mouseClick(m_w->form->command(1), Qt::LeftButton);
        QTRY_VERIFY(!m_w->form->isBusy());
        QTest::mouseClick(m_w->form->command(2), Qt::LeftButton);
        QTRY_VERIFY(!m_w->form->isBusy());
        m_w->form->RestoreBackup(); // the copy kept by Apply, if it wrote, is offered only when the game is not running
        QTRY_VERIFY(!m_w->form->isBusy());
        QTest::mouseClick(m_w->form->command(6), Qt::LeftButton); // "Del All Settings ", answered No
        QCOMPARE(m_w->platform.messages.last().options, Platform::YesNo | Platform::DefaultNo); // running or not
        QCOMPARE(other.state(), QProcess::Running); // it was there all along
        if (running) // Enter answers No: writing under a running game is undone when it exits
            QCOMPARE(m_w->platform.messages[0].options, Platform::YesNo | Platform::Exclamation | Platform::DefaultNo);
        const QString question = "Quillvane is running:\n" + nativePath(exe) + "\n\nThe game writes its settings files when it "
            "exits, which undoes what is written while it runs.\n\nWrite the settings anyway?";
        QStringList expected = running ? QStringList{question} : QStringList{};
        expected << (running && answer == Platform::No ? "Nothing was written. Press Apply again once the game has "
                                                             "exited." : "Settings written to file!");
        if (running)
            expected << "Quillvane is already running, so it was not started again." << question
                     << "Nothing was restored. Choose Restore... again once the game has exited.";
        expected << "Delete All Graphics Settings?";
        QCOMPARE(m_w->platform.prompts(), expected);
        QCOMPARE(m_w->platform.offered.size(), running ? 0 : 1);
        QCOMPARE(m_w->platform.commands.size(), running ? 0 : 1);
        const QByteArray value = answer == Platform::No && running ? "\t<Property name=\"Brightness\" value=\"120\""
                                                                        : " <Property name=\"Brightness\" value=\"90\"";
        QVERIFY(readFile(settings).contains(value));
    }

    // The subfolders a cache delete leaves are named, twenty at most, with what each holds; nothing
    // behind a link to a folder is touched.
    void keptFoldersNamed()
    {
        QTemporaryDir tmp;
        const QString cache = tmp.filePath("SHADERCACHE"), elsewhere = tmp.filePath("elsewhere/P.BIN");
        QVERIFY(writeFile(cache + "/A.CACHE") && writeFile(elsewhere) && QDir().mkpath(cache + "/EMPTY"));
        QString named = "\nEMPTY/ (empty)";
        if (!kWindows) {
            QVERIFY(QFile::link(tmp.filePath("elsewhere"), cache + "/BLINK"));
            named.prepend("\nBLINK/ (a link to a folder)");
        }
        for (int i = 1; i <= 20; ++i) {
            const QString folder = QString("F%1").arg(i, 2, 10, QChar('0'));
            QVERIFY(writeFile(cache + '/' + folder + "/P.BIN"));
            if (i <= (kWindows ? 19 : 18))
                named += '\n' + folder + "/ (1 file)";
        }
        const DeleteResult result = deleteAllFilesIn(cache);
        QCOMPARE(folderDeletionReport(cache, result),
                 nativePath("Deleted 1 file from\n" + cache + "\n\nThese folders were left there with what they hold: only "
                            "the files directly in the folder are deleted." + named + "\nand "
                            + (kWindows ? "1" : "2") + " more"));
        QVERIFY(!QFileInfo::exists(cache + "/A.CACHE"));
        QVERIFY(QFileInfo::exists(elsewhere) && QFileInfo::exists(cache + "/F20/P.BIN"));
    }

    // What the delete commands did, reported when they are done, on real files.
    void reports_data()
    {
        QTest::addColumn<Control>("control");
        QTest::addColumn<QString>("locked"); // a file made immutable first
        QTest::addColumn<QStringList>("gone");
        QTest::addColumn<QString>("message"); // "%1": the game folder, "%2": the copy kept

        const QString cache = "GAMEDATA/SHADERCACHE", settings = "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML";
        const QString hidden = kWindows // .index is marked hidden there, DESKTOP.INI a system file
            ? "\n\n2 hidden files were left there: hidden and system files are kept."
            : "\n\n1 hidden file was left there: hidden and system files are kept.";
        // The subfolders stay, with what they hold, and the report says so.
        const QString folders = "\n\nThese folders were left there with what they hold: only the files directly in the "
                                "folder are deleted.\nPIPELINES/ (2 files)\nSUB/ (1 file)";
        using enum Control;
        QTest::newRow("Del ShaderCache") << DelShaderCache << "" << QStringList{cache + "/A.CACHE", cache + "/B.CACHE"}
            << "Deleted 2 files from\n%1" + cache + folders + hidden;
        QTest::newRow("Del ShaderCache, a file that cannot go") << DelShaderCache << cache + "/B.CACHE"
            << QStringList{cache + "/A.CACHE"} << "Deleted 1 file from\n%1" + cache + "\n\nThese could not be "
               "deleted:\nB.CACHE: Operation not permitted" + folders + hidden;
        QTest::newRow("Del All Settings") << DelAllSettings << "" << QStringList{settings} << "Deleted the graphics "
            "settings file\n%1" + settings + "\n\nA copy of it is kept as\n%2\n\nTo put it back, choose Restore... "
            "from the window's right-click menu, or press Ctrl+Shift+R.";
        QTest::newRow("Del All Settings, a file that cannot go") << DelAllSettings << settings << QStringList{}
            << "The graphics settings file was not deleted:\n%1" + settings + "\n\nOperation not permitted.";
    }

    void reports()
    {
        QFETCH(Control, control);
        QFETCH(QString, locked);
        QFETCH(QStringList, gone);
        QFETCH(QString, message);
        const QString cache = m_game + "GAMEDATA/SHADERCACHE/";
        for (const char *file : {"A.CACHE", "B.CACHE", ".index", "PIPELINES/P.BIN", "PIPELINES/OLD/P.BIN"})
            QVERIFY(writeFile(cache + file));
        QVERIFY(markHidden(cache + ".index"));
        QVERIFY(!kWindows || (writeFile(cache + "DESKTOP.INI") && markHidden(cache + "DESKTOP.INI", true)));
        if (!locked.isEmpty()) {
            UNIX_ONLY("a file made immutable with chattr");
            if (!testsupport::isSuperuser() || QProcess::execute("chattr", {"+i", m_game + locked}) != 0)
                QSKIP("needs root and a file system with the immutable attribute");
            m_locked = m_game + locked;
        }
        QStringList expected = tree();
        for (const QString &file : gone)
            QVERIFY(expected.removeOne("My Games & Co/Quillvane/" + file));
        startForm();
        m_w->loadGame(m_game);
        m_w->platform.runForReal = true;
        m_w->platform.answers << Platform::Yes;

        QTest::mouseClick(m_w->form->findChild<QWidget *>(controlName(control)), Qt::LeftButton);
        QTRY_COMPARE(m_w->platform.messages.size(), 2); // the question, then the report
        const QStringList copies = QDir(m_w->platform.backupFolder()).entryList({"*.MXML"});
        QCOMPARE(copies.size(), control == Control::DelAllSettings ? 1 : 0);
        QCOMPARE(m_w->platform.messages[1].prompt,
                 nativePath(message.replace("%1", m_game).replace("%2", m_w->platform.backupFolder() + '/' + copies.value(0))));
        QCOMPARE(m_w->platform.messages[1].options,
                 Platform::MessageOptions(locked.isEmpty() ? Platform::Information : Platform::Exclamation));
        QCOMPARE(tree(), expected);
    }
};

QTEST_MAIN(TestMaintenance)
#include "tst_maintenance.moc"
