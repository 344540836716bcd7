// SPDX-License-Identifier: MIT
// The launch, clean-up and link commands as the window hands them on, the faults that stop them,
// the real runner on real folders, and a window that works whatever becomes of the banner.
#include "clickablelabel.h"
#include "common/fakeplatform.h"
#include "form1.h"
#include "links/bannerloader.h"
#include "links/links.h"
#include "maintenance/filedeletion.h"
#include "platform/desktopplatform.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tarnwell;

static void write(const QString &path, const QByteArray &bytes = "x")
{
    QFile file(path);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class TestMaintenance : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    FakePlatform *m_platform = nullptr;
    Form1 *m_form = nullptr;
    QString m_game; // the game folder, with its trailing separator

    void startForm()
    {
        m_form = new Form1(*m_platform);
        m_form->Form_Load();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        m_platform->messages.clear(); // the first-start prompt is not what these tests look at
    }

    QStringList tree() const
    {
        QStringList entries;
        QDirIterator it(m_dir->path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            entries << it.next().mid(m_dir->path().size() + 1);
        entries.sort();
        return entries;
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        m_platform = new FakePlatform;
        m_platform->folder = m_dir->path();
        m_game = m_dir->filePath("My Games & Co/Quillvane") + '/';
        for (const char *file : {"Binaries/QVX.EXE", "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML",
                                 "Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML", "GAMEDATA/SHADERCACHE/SUB/b.bin"})
            write(m_game + file);
    }

    void cleanup()
    {
        // `touch pwned` run by any shell would leave that file in its working folder.
        for (const QString &entry : tree())
            QVERIFY2(QFileInfo(entry).fileName() != "pwned", qPrintable(entry));
        QVERIFY(!QFileInfo::exists("pwned") && !QFileInfo::exists(QDir::home().filePath("pwned")));
        delete std::exchange(m_form, nullptr);
        delete m_platform;
        delete m_dir;
    }

    // Every button and link through the real widgets: the question or warning it shows, and the one
    // command it hands on (exact command line and window style) or, when stopped, that nothing happens.
    void buttonsAndLinks_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("before");  // "unregistered", "folder", or a path made to vanish
        QTest::addColumn<QString>("message"); // a question ends with '?', anything else is a warning
        QTest::addColumn<QString>("line");    // empty: nothing runs; "%1" is the game folder
        QTest::addColumn<int>("style");

        const QString exe = "Binaries/QVX.EXE", cache = "GAMEDATA/SHADERCACHE";
        const QString settings = "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML";
        const QString cacheQ = "Delete ShaderCache?", settingsQ = "Delete All Graphics Settings?";
        QTest::newRow("Launch") << "Command2" << "" << "" << "cmd.exe /c start %1" + exe << 0;
        QTest::newRow("Launch, nothing registered") << "Command2" << "unregistered"
            << "No Quillvane QVX.EXE is registered yet, so there is nothing to launch." << "" << 0;
        QTest::newRow("Launch, executable vanished") << "Command2" << exe
            << "Quillvane QVX.EXE is no longer there:\n%1" + exe << "" << 0;
        QTest::newRow("Launch, executable path names a folder") << "Command2" << "folder"
            << "Quillvane QVX.EXE is no longer there:\n%1Binaries" << "" << 0;
        QTest::newRow("Del ShaderCache") << "Command5" << "" << cacheQ << "cmd.exe /c del %1" + cache + "\\*.*" << 1;
        QTest::newRow("Del ShaderCache, No") << "Command5" << "" << cacheQ << "" << 0;
        QTest::newRow("Del ShaderCache, no game folder yet") << "Command5" << "unregistered"
            << "No Quillvane QVX.EXE has been chosen yet, so there is no shader cache to delete." << "" << 0;
        QTest::newRow("Del ShaderCache, no such folder") << "Command5" << cache
            << "There is no shader cache folder at\n%1" + cache << "" << 0;
        QTest::newRow("Del All Settings") << "Command6" << "" << settingsQ
            << "cmd.exe /c del \"%1" + settings + '"' << 1;
        QTest::newRow("Del All Settings, No") << "Command6" << "" << settingsQ << "" << 0;
        QTest::newRow("Del All Settings, nothing registered") << "Command6" << "unregistered"
            << "No Quillvane QVX.EXE has been chosen yet, so there is no graphics settings file to delete." << "" << 0;
        QTest::newRow("Del All Settings, file already gone") << "Command6" << settings
            << "The graphics settings file is already gone:\n%1" + settings << "" << 0;
        const QStringList images = {"http://social.example.com/tarnwell", "http://microblog.example.com/tarnwell",
            "http://community.example.net/id/tarnwell", "http://code.example.org/tarnwell", "http://www.example.com/",
            "http://video.example.com/tarnwell"};
        for (int n = 1; n <= 6; ++n)
            QTest::addRow("Image%d", n) << QString("Image%1").arg(n) << "" << "" << "cmd.exe /c start " + images[n - 1] << 0;
        QTest::newRow("Label20") << "Label20" << "" << "" << "cmd.exe /c start http://www.example.com/" << 0;
    }

    void buttonsAndLinks()
    {
        QFETCH(QString, control);
        QFETCH(QString, before);
        QFETCH(QString, message);
        QFETCH(QString, line);
        QFETCH(int, style);
        for (QString *text : {&message, &line})
            text->replace("%1", m_game);
        startForm();
        // What registration and the reader leave behind, up to the stage the row asks for.
        const bool registered = before != "unregistered";
        m_form->GameExePath = registered ? m_game + (before == "folder" ? "Binaries" : "Binaries/QVX.EXE") : QString();
        m_form->GameFolder = registered ? m_game : QString();
        m_form->GraphicsSettingsPath =
            registered ? m_game + "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML" : QString();
        if (before.contains('/'))
            QVERIFY(QFile::remove(m_game + before) || QDir(m_game + before).removeRecursively());
        const QStringList entries = tree();
        // A question is answered No where the row expects nothing to run, else Yes.
        m_platform->answers << (line.isEmpty() && message.endsWith('?') ? FakePlatform::No : FakePlatform::Yes);

        QWidget *widget = m_form->findChild<QWidget *>(control);
        QVERIFY(widget);
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());

        QCOMPARE(m_platform->prompts(), message.isEmpty() ? QStringList() : QStringList{message});
        // A question comes with Yes/No under its own title, a warning with OK alone.
        for (const FakePlatform::Message &shown : m_platform->messages)
            QCOMPARE(shown.buttons, shown.title == message ? 4 : 48);
        QCOMPARE(tree(), entries); // the window itself creates and deletes nothing
        QCOMPARE(m_platform->commands.size(), line.isEmpty() ? 0 : 1);
        if (line.isEmpty())
            return;
        const Command &command = m_platform->commands[0];
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
        const QString folder = m_dir->filePath(name), target = folder + '/' + name + ".MXML";
        const QString program = folder + "/SUB/QVX " + name + ".sh";
        const QStringList files = {name, name + ".MXML", "a.bin", ".hidden", "x & del *"};
        for (const QString &file : files)
            write(folder + '/' + file);
        for (const QString &kept :
             {name + "/SUB/deeper/kept.bin", name + " neighbour.bin", QString("outside/kept.bin")})
            write(m_dir->filePath(kept));
        write(program, "#!/bin/sh\ntouch started\n");
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(QFile::link(m_dir->filePath("outside"), folder + "/linked folder"));
        QVERIFY(QFile::link(m_dir->filePath("outside/kept.bin"), folder + "/linked file"));
        QStringList expected = tree();
        for (const QString &file : oneFile ? QStringList{name + ".MXML"} : files + QStringList{"linked file"})
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

    void bannerAddress()
    {
        const QString query = "size=468x60&background_color=CCCCCC&title_color=0000ff&link_color=313370"
                              "&text_color=ffffff&title_hover_color=ff8c00&link_hover_color=ff8c00";
        QCOMPARE(links::bannerAddress(), "http://ads.example.net/units/tarnwell-468x60?" + query);
    }

    void windowWorksBesideBanner_data()
    {
        QTest::addColumn<bool>("module");
        QTest::newRow("without the banner module") << false;
        QTest::newRow("with the banner module, host unreachable") << true;
    }

    void windowWorksBesideBanner()
    {
        QFETCH(bool, module);
        const QString built = links::bannerModulePath(TARNWELL_BUILD_DIR);
        if (module && !QFileInfo::exists(built))
            QSKIP("built without Qt WebEngine");
        QVERIFY(!module || QFile::link(built, links::bannerModulePath(m_platform->folder)));
        startForm();
        // The banner comes in only after the first paint; the host of its address does not answer here.
        QTest::qWait(50);
        QTRY_VERIFY_WITH_TIMEOUT(!module || m_form->WebBrowser1->findChild<QWidget *>("BannerView"), 20000);
        QVERIFY(m_form->WebBrowser1->isVisible());
        QCOMPARE(m_form->WebBrowser1->geometry(), QRect(0, 368, 529, 81));
        if (QWidget *view = m_form->WebBrowser1->findChild<QWidget *>("BannerView")) {
            QCOMPARE(view->geometry(), m_form->WebBrowser1->rect());
            QCOMPARE(view->minimumSize(), view->maximumSize()); // not resizable
        }

        // "Apply" still writes the game's settings while the banner area is dead.
        QFile file(m_game + "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML");
        write(file.fileName(), "<Data>\n\t<Property name=\"UseHDR\" value=\"false\" />\n</Data>\n");
        write(m_game + "Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML", "\t<Property name=\"Vibration\" value=\"true\" />\n");
        m_form->GameFolder = m_game;
        m_form->ReadConfig();
        QTest::mouseClick(m_form->check(5), Qt::LeftButton, {}, m_form->check(5)->rect().center());
        QTest::mouseClick(m_form->command(1), Qt::LeftButton);
        QCOMPARE(m_platform->prompts(), QStringList{"Settings written to file!"});
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains(" <Property name=\"UseHDR\" value=\"true\" />\n"));
        QTest::mouseClick(m_form->image(5), Qt::LeftButton);
        QCOMPARE(m_platform->commands.size(), 1);
    }
};

QTEST_MAIN(TestMaintenance)
#include "tst_maintenance.moc"
