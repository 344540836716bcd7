// SPDX-License-Identifier: MIT
// The launch, clean-up and link commands as the window's buttons and pictures hand them on,
// the faults that must stop them, and a window that works whatever becomes of the banner.
#include "clickablelabel.h"
#include "common/fakeplatform.h"
#include "form1.h"
#include "links/bannerloader.h"
#include "links/links.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QCheckBox>
#include <QTemporaryDir>
#include <QTest>

using tarnwell::Command;

class TestMaintenance : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void commandLines_data();
    void commandLines();
    void noRunsNothing_data();
    void noRunsNothing();
    void faults_data();
    void faults();
    void bannerAddress();
    void windowWorksBesideBanner_data();
    void windowWorksBesideBanner();

private:
    void startForm();
    void registerGame();
    QWidget *control(const QString &name) const;
    QStringList tree() const;

    QTemporaryDir *m_dir = nullptr;
    FakePlatform *m_platform = nullptr;
    Form1 *m_form = nullptr;
    QString m_game; // the game folder, with its trailing separator
};

void TestMaintenance::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_platform = new FakePlatform;
    m_platform->folder = m_dir->filePath("tool");
    QVERIFY(QDir().mkpath(m_platform->folder));
    m_game = m_dir->filePath("My Games & Co/Quillvane") + '/';
    for (const char *folder : {"Binaries/SETTINGS", "GAMEDATA/SHADERCACHE/SUB"})
        QVERIFY(QDir().mkpath(m_game + folder));
    for (const char *file : {"Binaries/QVX.EXE", "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML",
                             "Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML", "GAMEDATA/SHADERCACHE/a.bin"}) {
        QFile f(m_game + file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
}

void TestMaintenance::cleanup()
{
    delete m_form;
    m_form = nullptr;
    delete m_platform;
    delete m_dir;
}

void TestMaintenance::startForm()
{
    m_form = new Form1(*m_platform);
    m_form->Form_Load();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    m_platform->messages.clear(); // the first-start prompt is not what these tests look at
}

// What the version check and the reader leave behind for a registered game.
void TestMaintenance::registerGame()
{
    m_form->GameExePath = m_game + "Binaries/QVX.EXE";
    m_form->GameFolder = m_game;
    m_form->GraphicsSettingsPath = m_game + "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML";
}

QWidget *TestMaintenance::control(const QString &name) const
{
    return m_form->findChild<QWidget *>(name);
}

QStringList TestMaintenance::tree() const
{
    QStringList entries;
    QDirIterator it(m_dir->path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << it.next();
    entries.sort();
    return entries;
}

void TestMaintenance::commandLines_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("question"); // empty: no question is asked
    QTest::addColumn<QString>("line");     // "%1" stands for the game folder
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("operand");

    const int start = int(Command::Action::Start);
    const int del = int(Command::Action::Delete);
    QTest::newRow("Launch") << "Command2" << "" << "cmd.exe /c start %1Binaries/QVX.EXE" << 0 << start
                            << "%1Binaries/QVX.EXE";
    QTest::newRow("Del ShaderCache") << "Command5" << "Delete ShaderCache?"
                                     << "cmd.exe /c del %1GAMEDATA/SHADERCACHE\\*.*" << 1 << del
                                     << "%1GAMEDATA/SHADERCACHE";
    QTest::newRow("Del All Settings") << "Command6" << "Delete All Graphics Settings?"
                                      << "cmd.exe /c del \"%1Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML\"" << 1 << del
                                      << "%1Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML";
    for (int n = 1; n <= 6; ++n) {
        const QString address = tarnwell::links::imageAddress(n);
        QTest::addRow("Image%d", n) << QString("Image%1").arg(n) << "" << "cmd.exe /c start " + address << 0 << start
                                    << address;
    }
    QTest::newRow("Label20") << "Label20" << "" << "cmd.exe /c start http://www.example.com/" << 0 << start
                             << "http://www.example.com/";
}

void TestMaintenance::commandLines()
{
    QFETCH(QString, control);
    QFETCH(QString, question);
    QFETCH(QString, line);
    QFETCH(int, style);
    QFETCH(int, action);
    QFETCH(QString, operand);
    startForm();
    registerGame();
    m_platform->answers << FakePlatform::Yes;

    QWidget *widget = this->control(control);
    QVERIFY(widget);
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());

    if (question.isEmpty()) {
        QVERIFY(m_platform->messages.isEmpty());
    } else {
        QCOMPARE(m_platform->messages.size(), 1);
        QCOMPARE(m_platform->messages[0].prompt, question);
        QCOMPARE(m_platform->messages[0].title, question);
        QCOMPARE(m_platform->messages[0].buttons, 4);
    }
    QCOMPARE(m_platform->commands.size(), 1);
    const Command &command = m_platform->commands[0];
    QCOMPARE(command.line, line.arg(m_game));
    QCOMPARE(command.windowStyle, style);
    QCOMPARE(int(command.action), action);
    QCOMPARE(command.operand, operand.arg(m_game));
    QCOMPARE(command.webAddress, operand.startsWith("http://"));
    QCOMPARE(command.allFilesIn, control == "Command5");
}

void TestMaintenance::noRunsNothing_data()
{
    QTest::addColumn<int>("button");
    QTest::newRow("Del ShaderCache") << 5;
    QTest::newRow("Del All Settings") << 6;
}

void TestMaintenance::noRunsNothing()
{
    QFETCH(int, button);
    startForm();
    registerGame();
    const QStringList before = tree();
    m_platform->answers << FakePlatform::No;
    QTest::mouseClick(m_form->command(button), Qt::LeftButton);
    QCOMPARE(m_platform->messages.size(), 1);
    QVERIFY(m_platform->answers.isEmpty()); // the question was asked, and answered No
    QVERIFY(m_platform->commands.isEmpty());
    QCOMPARE(tree(), before);
}

void TestMaintenance::faults_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("exe");      // relative to the game folder; "-" leaves it empty
    QTest::addColumn<QString>("folder");   // "-" leaves the game folder unknown
    QTest::addColumn<QString>("settings"); // "-" leaves the settings unread
    QTest::addColumn<QString>("remove");   // made to vanish before the click
    QTest::addColumn<QString>("message");  // the start of the message shown

    QTest::newRow("Launch, nothing registered") << 2 << "-" << "-" << "-" << ""
                                                << "No Quillvane QVX.EXE is registered yet";
    QTest::newRow("Launch, executable vanished") << 2 << "Binaries/QVX.EXE" << "" << "" << "Binaries/QVX.EXE"
                                                 << "Quillvane QVX.EXE is no longer there:\n";
    QTest::newRow("Launch, path names a folder") << 2 << "Binaries" << "" << "" << ""
                                                 << "Quillvane QVX.EXE is no longer there:\n";
    QTest::newRow("Del ShaderCache, no game folder yet") << 5 << "-" << "-" << "-" << ""
                                                         << "The game folder is not known yet.";
    QTest::newRow("Del ShaderCache, no such folder") << 5 << "Binaries/QVX.EXE" << "" << "" << "GAMEDATA/SHADERCACHE"
                                                     << "There is no shader cache folder at\n";
    QTest::newRow("Del ShaderCache, game folder gone") << 5 << "Binaries/QVX.EXE" << "" << "" << "."
                                                       << "There is no shader cache folder at\n";
    QTest::newRow("Del All Settings, nothing read yet") << 6 << "Binaries/QVX.EXE" << "" << "-" << ""
                                                        << "No graphics settings have been read yet";
    QTest::newRow("Del All Settings, file already gone") << 6 << "Binaries/QVX.EXE" << "" << ""
                                                         << "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML"
                                                         << "The graphics settings file is already gone:\n";
}

void TestMaintenance::faults()
{
    QFETCH(int, button);
    QFETCH(QString, exe);
    QFETCH(QString, folder);
    QFETCH(QString, settings);
    QFETCH(QString, remove);
    QFETCH(QString, message);
    startForm();
    registerGame();
    if (exe == "-")
        m_form->GameExePath.clear();
    else
        m_form->GameExePath = m_game + exe;
    if (folder == "-")
        m_form->GameFolder.clear();
    if (settings == "-")
        m_form->GraphicsSettingsPath.clear();
    if (!remove.isEmpty()) {
        QFileInfo gone(m_game + remove);
        QVERIFY(gone.isDir() ? QDir(gone.filePath()).removeRecursively() : QFile::remove(gone.filePath()));
    }
    const QStringList before = tree();
    m_platform->answers << FakePlatform::Yes; // would let a question go on, had one been asked

    QTest::mouseClick(m_form->command(button), Qt::LeftButton);

    QCOMPARE(m_platform->messages.size(), 1);
    QVERIFY2(m_platform->messages[0].prompt.startsWith(message), qPrintable(m_platform->messages[0].prompt));
    QCOMPARE(m_platform->messages[0].buttons, 48); // OK with a warning, no Yes/No
    QVERIFY(m_platform->commands.isEmpty());
    QCOMPARE(tree(), before); // nothing created, nothing deleted
}

void TestMaintenance::bannerAddress()
{
    QCOMPARE(tarnwell::links::bannerAddress(),
             QStringLiteral("http://ads.example.net/units/tarnwell-468x60?size=468x60&background_color=CCCCCC"
                            "&title_color=0000ff&link_color=313370&text_color=ffffff&title_hover_color=ff8c00"
                            "&link_hover_color=ff8c00"));
    QVERIFY(QUrl(tarnwell::links::bannerAddress(), QUrl::StrictMode).isValid());
}

void TestMaintenance::windowWorksBesideBanner_data()
{
    QTest::addColumn<bool>("module");
    QTest::newRow("without the banner module") << false;
    QTest::newRow("with the banner module, host unreachable") << true;
}

void TestMaintenance::windowWorksBesideBanner()
{
    QFETCH(bool, module);
    const QString built = tarnwell::links::bannerModulePath(TARNWELL_BUILD_DIR);
    if (module) {
        if (!QFileInfo::exists(built))
            QSKIP("built without Qt WebEngine");
        QVERIFY(QFile::link(built, tarnwell::links::bannerModulePath(m_platform->folder)));
    }
    startForm();
    // The banner comes in only after the first paint; the host of its address does not answer here.
    if (module)
        QTRY_VERIFY_WITH_TIMEOUT(m_form->WebBrowser1->findChild<QWidget *>("BannerView"), 20000);
    else
        QTest::qWait(50);
    QVERIFY(m_form->WebBrowser1->isVisible());
    QCOMPARE(m_form->WebBrowser1->geometry(), QRect(0, 368, 529, 81));
    if (QWidget *view = m_form->WebBrowser1->findChild<QWidget *>("BannerView")) {
        QCOMPARE(view->geometry(), m_form->WebBrowser1->rect());
        QCOMPARE(view->minimumSize(), view->maximumSize()); // not resizable
    }

    // "Apply" still writes the game's settings while the banner area is dead.
    const QString graphics = m_game + "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML";
    QFile file(graphics);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<Data>\n\t<Property name=\"UseHDR\" value=\"false\" />\n</Data>\n");
    file.close();
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

QTEST_MAIN(TestMaintenance)
#include "tst_maintenance.moc"
