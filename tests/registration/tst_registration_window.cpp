// SPDX-License-Identifier: MIT
// Registering the game in the real window: start-up with a stored executable, the version check,
// the configuration file on disk, and the picker driven through its own lists.
#include "common/fakeplatform.h"
#include "form1.h"
#include "platform/pathcase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

namespace {

const QString kFatal = "Fatal Error: QVX.dat verification missing. Reinstall Tarnwell";
const QString kSelect = "Select your Quillvane QVX.EXE to get started!";
const QString kDetected = "Quillvane Sample Installation Detected!";

bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target))
            return false;
    }
    return true;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString unknownCaption(const QByteArray &bytes)
{
    return "Unknown Quillvane Version! MD5: "
        + QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().toUpper());
}

} // namespace

class TestRegistrationWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startup_data();
    void startup();
    void unreadableExecutable();
    void executableOutsideAGameFolder();
    void picker_data();
    void picker();
    void pickerWithoutVersionList();
    void pickerSaveFailure();
    void pickerDrivesAndFolders();
    void pickerKeyboard();
    // Needs the settings reader: fails until ReadConfig does its work.
    void checkReadsSettings();

private:
    QString installGame(const QString &folder); // returns the executable's path
    void installVersionList();
    void startForm();
    void openInDir1(const QString &folder);
    void clickFile(const QString &name);
    QString currentDir1Path() const;
    QString configPath() const { return m_program + "/Tarnwell.dat"; }

    QTemporaryDir *m_dir = nullptr;
    QString m_program;
    FakePlatform *m_platform = nullptr;
    Form1 *m_form = nullptr;
};

void TestRegistrationWindow::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_program = m_dir->filePath("program");
    QVERIFY(QDir().mkpath(m_program));
    m_platform = new FakePlatform;
    m_platform->folder = m_program;
}

void TestRegistrationWindow::cleanup()
{
    delete m_form;
    m_form = nullptr;
    delete m_platform;
    delete m_dir;
}

QString TestRegistrationWindow::installGame(const QString &folder)
{
    const QString game = m_dir->filePath(folder);
    if (!copyTree(TARNWELL_SOURCE_DIR "/examples/Quillvane", game))
        return QString();
    return game + "/Binaries/QVX.EXE";
}

void TestRegistrationWindow::installVersionList()
{
    QVERIFY(QDir().mkpath(m_program + "/dat"));
    QVERIFY(QFile::copy(TARNWELL_SOURCE_DIR "/dat/QVX.dat", m_program + "/dat/QVX.dat"));
}

void TestRegistrationWindow::startForm()
{
    m_form = new Form1(*m_platform);
    m_form->Form_Load();
    if (m_form->isClosed())
        return;
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
}

QString TestRegistrationWindow::currentDir1Path() const
{
    QListWidgetItem *item = m_form->Dir1->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

// Opens the folder the way a user does: the root first, then one double-click per level.
void TestRegistrationWindow::openInDir1(const QString &folder)
{
    QListWidget *dir = m_form->Dir1;
    QVERIFY(dir->isVisible());
    QStringList steps{"/"};
    QString prefix;
    for (const QString &part : QDir::cleanPath(folder).split('/', Qt::SkipEmptyParts))
        steps << (prefix += "/" + part);
    for (const QString &step : steps) {
        QListWidgetItem *row = nullptr;
        for (int i = 0; i < dir->count() && !row; ++i) {
            if (dir->item(i)->data(Qt::UserRole).toString() == step)
                row = dir->item(i);
        }
        QVERIFY2(row, qPrintable("no row for " + step));
        dir->scrollToItem(row);
        // A real double-click: press and release, then the second press that the system reports as double.
        const QPoint at = dir->visualItemRect(row).center();
        QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(dir->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(currentDir1Path(), step);
    }
}

void TestRegistrationWindow::clickFile(const QString &name)
{
    const QList<QListWidgetItem *> rows = m_form->File1->findItems(name, Qt::MatchExactly);
    QCOMPARE(rows.size(), 1);
    m_form->File1->scrollToItem(rows.first());
    QTest::mouseClick(m_form->File1->viewport(), Qt::LeftButton, {},
                      m_form->File1->visualItemRect(rows.first()).center());
}

void TestRegistrationWindow::startup_data()
{
    QTest::addColumn<QString>("stored");    // what Tarnwell.dat names
    QTest::addColumn<bool>("versionList"); // whether dat/QVX.dat is installed
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("widthTwips"); // 0: the designed width was never changed
    QTest::addColumn<bool>("gameFolder");

    QTest::newRow("first start") << "no file" << true << QStringList{kSelect} << "Not Set" << 11000 << false;
    QTest::newRow("first start without known-versions file")
        << "no file" << false << QStringList{kSelect} << "Not Set" << 11000 << false;
    QTest::newRow("zero-byte configuration") << "zero bytes" << true << QStringList{kSelect} << "Not Set" << 11000 << false;
    QTest::newRow("key without a path") << "key alone" << true << QStringList{kSelect} << "Not Set" << 11000 << false;
    QTest::newRow("detected") << "sample" << true << QStringList{} << kDetected << 8100 << true;
    QTest::newRow("unknown version") << "other" << true << QStringList{} << unknownCaption("another build") << 8100 << true;
    QTest::newRow("executable vanished") << "vanished" << true << QStringList{} << "Not Set" << 0 << false;
    QTest::newRow("known-versions file missing") << "sample" << false << QStringList{kFatal} << "Not Set" << 0 << false;
}

void TestRegistrationWindow::startup()
{
    QFETCH(QString, stored);
    QFETCH(bool, versionList);
    QFETCH(QStringList, prompts);
    QFETCH(QString, status);
    QFETCH(int, widthTwips);
    QFETCH(bool, gameFolder);

    QString exe = installGame("games/Quillvane");
    QVERIFY(!exe.isEmpty());
    if (stored == "other") {
        exe = installGame("games/Other");
        QVERIFY(writeFile(exe, "another build"));
    } else if (stored == "vanished") {
        QVERIFY(QFile::remove(exe));
    }
    if (stored == "zero bytes")
        QVERIFY(writeFile(configPath(), ""));
    else if (stored == "key alone")
        QVERIFY(writeFile(configPath(), "QVXEXE=\r\n"));
    else if (stored != "no file")
        QVERIFY(writeFile(configPath(), "QVXEXE=" + exe.toUtf8() + "\r\n"));
    if (versionList)
        installVersionList();
    const QByteArray configBefore = readFile(configPath());

    startForm();
    QCOMPARE(m_platform->prompts(), prompts);
    for (const FakePlatform::Message &message : m_platform->messages) {
        QCOMPARE(message.buttons, message.prompt == kFatal ? 0 : 64);
        QVERIFY(message.title.isEmpty());
    }
    const bool fatal = prompts.contains(kFatal);
    QCOMPARE(m_platform->closes, fatal ? 1 : 0);
    QCOMPARE(m_form->isClosed(), fatal);
    QCOMPARE(m_form->label(22)->text(), status);
    QCOMPARE(m_form->outerWidthTwips(), widthTwips);
    QCOMPARE(m_form->GameFolder, gameFolder ? exe.chopped(16) : QString());
    if (stored == "sample" || stored == "other" || stored == "vanished")
        QCOMPARE(m_form->GameExePath, exe);
    else
        QVERIFY(m_form->GameExePath.isEmpty());
    QCOMPARE(readFile(configPath()), configBefore); // start-up only reads it
    if (!fatal)
        QCOMPARE(m_form->File1->isVisible(), widthTwips != 8100);
}

void TestRegistrationWindow::unreadableExecutable()
{
    installVersionList();
    // There, yet its first bytes cannot be read, even by the superuser.
    QVERIFY(writeFile(configPath(), "QVXEXE=/proc/self/mem\r\n"));
    startForm();
    QCOMPARE(m_platform->messages.size(), 1);
    const FakePlatform::Message message = m_platform->messages.first();
    QVERIFY2(message.prompt.contains("/proc/self/mem") && message.prompt.contains("Input/output error"),
             qPrintable(message.prompt));
    QCOMPARE(message.buttons, 48);
    QCOMPARE(m_platform->closes, 0);
    QCOMPARE(m_form->label(22)->text(), QStringLiteral("Not Set"));
    QCOMPARE(m_form->outerWidthTwips(), 0);
    QVERIFY(m_form->GameFolder.isEmpty());
}

void TestRegistrationWindow::executableOutsideAGameFolder()
{
    installVersionList();
    // A path too short to hold "Binaries/QVX.EXE" leaves no game folder to read settings from.
    QTemporaryFile exe("/tmp/twXXXXXX");
    QVERIFY(exe.open());
    QVERIFY(exe.fileName().size() <= 16);
    exe.write("short");
    exe.close();
    QVERIFY(writeFile(configPath(), "QVXEXE=" + exe.fileName().toUtf8() + "\r\n"));
    startForm();
    QCOMPARE(m_platform->messages.size(), 1);
    QVERIFY2(m_platform->messages[0].prompt.contains(exe.fileName())
                 && m_platform->messages[0].prompt.contains("No settings were read."),
             qPrintable(m_platform->messages[0].prompt));
    QCOMPARE(m_form->label(22)->text(), unknownCaption("short"));
    QVERIFY(m_form->GameFolder.isEmpty());
    QVERIFY(m_form->GraphicsSettingsPath.isEmpty());
    QVERIFY(m_form->UserSettingsPath.isEmpty());
}

void TestRegistrationWindow::picker_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("exeContent"); // empty: the sample's own executable
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("removeFirst"); // the file disappears before the answer is given
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("widthTwips");

    QTest::newRow("No changes nothing") << "Quillvane" << "" << 7 << false << "Not Set" << 11000;
    QTest::newRow("Yes, detected") << "Quillvane" << "" << 6 << false << kDetected << 8100;
    QTest::newRow("Yes, unknown version is stored all the same")
        << "Other" << "another build" << 6 << false << unknownCaption("another build") << 8100;
    QTest::newRow("Yes, folder beyond any 8-bit code page")
        << QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC \xC3\x9C" "ber/Quillvane") << "" << 6 << false << kDetected << 8100;
    QTest::newRow("Yes, file gone meanwhile") << "Quillvane" << "" << 6 << true << "Not Set" << 8000;
}

void TestRegistrationWindow::picker()
{
    QFETCH(QString, folder);
    QFETCH(QString, exeContent);
    QFETCH(int, answer);
    QFETCH(bool, removeFirst);
    QFETCH(QString, status);
    QFETCH(int, widthTwips);

    const QString exe = installGame("games/" + folder);
    QVERIFY(!exe.isEmpty());
    if (!exeContent.isEmpty())
        QVERIFY(writeFile(exe, exeContent.toUtf8()));
    installVersionList();
    startForm();
    QCOMPARE(m_form->outerWidthTwips(), 11000);
    openInDir1(QFileInfo(exe).path());
    if (QTest::currentTestFailed())
        return;
    if (removeFirst)
        QVERIFY(QFile::remove(exe));

    m_platform->answers.enqueue(answer);
    clickFile("QVX.EXE");
    QCOMPARE(m_platform->messages.size(), 2);
    QCOMPARE(m_platform->messages[1].prompt, QStringLiteral("Set File: QVX.EXE"));
    QCOMPARE(m_platform->messages[1].buttons, 4);
    QCOMPARE(m_platform->messages[1].title, QStringLiteral("Set this file?"));

    QCOMPARE(m_form->label(22)->text(), status);
    QCOMPARE(m_form->outerWidthTwips(), widthTwips);
    QCOMPARE(m_form->frameGeometry().width(), qRound(widthTwips / 15.0));
    if (answer != 6) {
        QVERIFY(m_form->GameExePath.isEmpty());
        QVERIFY(!QFileInfo::exists(configPath()));
        QVERIFY(m_form->File1->isVisible());
        return;
    }
    QCOMPARE(m_form->GameExePath, exe);
    QVERIFY(!m_form->File1->isVisible());
    QCOMPARE(readFile(configPath()), "QVXEXE=" + exe.toUtf8() + "\r\n");

    // The next start finds what was stored.
    delete m_form;
    m_form = nullptr;
    m_platform->messages.clear();
    startForm();
    QCOMPARE(m_form->GameExePath, exe);
    QCOMPARE(m_form->label(22)->text(), status);
    QVERIFY(m_platform->messages.isEmpty());
}

void TestRegistrationWindow::pickerWithoutVersionList()
{
    const QString exe = installGame("games/Quillvane");
    startForm();
    QCOMPARE(m_platform->prompts(), QStringList{kSelect}); // no executable yet: nothing to verify
    openInDir1(QFileInfo(exe).path());
    m_platform->answers.enqueue(6);
    clickFile("QVX.EXE");
    QCOMPARE(m_platform->prompts(), (QStringList{kSelect, "Set File: QVX.EXE", kFatal}));
    QCOMPARE(m_platform->closes, 1);
    QVERIFY(m_form->isClosed());
    QCOMPARE(m_form->label(22)->text(), QStringLiteral("Not Set"));
    // The choice is kept for the next start, as after any confirmation.
    QCOMPARE(readFile(configPath()), "QVXEXE=" + exe.toUtf8() + "\r\n");
}

void TestRegistrationWindow::pickerSaveFailure()
{
    const QString exe = installGame("games/Quillvane");
    installVersionList();
    QVERIFY(QDir().mkpath(configPath())); // a folder holds the name, so no file can be written there
    startForm();
    openInDir1(QFileInfo(exe).path());
    m_platform->answers.enqueue(6);
    clickFile("QVX.EXE");
    QCOMPARE(m_platform->messages.size(), 3);
    const FakePlatform::Message &failure = m_platform->messages[2];
    QVERIFY2(failure.prompt.startsWith("Cannot save the game's path to " + configPath() + ": "), qPrintable(failure.prompt));
    QCOMPARE(failure.buttons, 48);
    // The choice holds for this run all the same.
    QCOMPARE(m_form->label(22)->text(), kDetected);
    QVERIFY(QFileInfo(configPath()).isDir());
}

void TestRegistrationWindow::pickerDrivesAndFolders()
{
    const QString exe = installGame("games/Quillvane");
    startForm();
    // The picker starts in the home folder, on its drive.
    QCOMPARE(currentDir1Path(), QDir::cleanPath(QDir::homePath()));
    QCOMPARE(m_form->Drive1->itemData(0).toString(), QStringLiteral("/"));
    const QString startDrive = m_form->Drive1->currentData().toString();
    QVERIFY(QDir::homePath().startsWith(startDrive));

    // Opening a folder from the keyboard refreshes the file list; the drive stays.
    openInDir1(m_dir->filePath("games/Quillvane"));
    QListWidget *dir = m_form->Dir1;
    const QList<QListWidgetItem *> binaries = dir->findItems("Binaries", Qt::MatchEndsWith);
    QCOMPARE(binaries.size(), 1);
    dir->setCurrentItem(binaries.first());
    QTest::keyClick(dir, Qt::Key_Return);
    QCOMPARE(currentDir1Path(), QFileInfo(exe).path());
    QCOMPARE(dir->item(dir->currentRow() + 1)->data(Qt::UserRole).toString(), QFileInfo(exe).path() + "/SETTINGS");
    QStringList files;
    for (int i = 0; i < m_form->File1->count(); ++i)
        files << m_form->File1->item(i)->text();
    QCOMPARE(files, QStringList{"QVX.EXE"});

    // A drive that is not there: a message, and the lists stay as they were and usable.
    const QString unplugged = m_dir->filePath("unplugged/");
    m_form->Drive1->addItem("unplugged", unplugged);
    m_form->Drive1->setFocus();
    QTest::keyClick(m_form->Drive1, Qt::Key_End);
    QCOMPARE(m_platform->messages.size(), 2);
    QVERIFY2(m_platform->messages[1].prompt.contains(unplugged), qPrintable(m_platform->messages[1].prompt));
    QCOMPARE(m_platform->messages[1].buttons, 48);
    QCOMPARE(m_form->Drive1->currentData().toString(), startDrive);
    QCOMPARE(currentDir1Path(), QFileInfo(exe).path());
    QCOMPARE(m_form->File1->count(), 1);

    // Choosing another drive refreshes both lists: here a volume mounted on the test's own folder.
    QVERIFY(writeFile(m_dir->filePath("games/readme.txt"), "hello"));
    const QString volume = m_dir->filePath("games/");
    m_form->Drive1->addItem("volume", volume);
    QTest::keyClick(m_form->Drive1, Qt::Key_End);
    QCOMPARE(m_form->Drive1->currentData().toString(), volume);
    QCOMPARE(currentDir1Path(), m_dir->filePath("games"));
    QCOMPARE(m_form->File1->count(), 1);
    QCOMPARE(m_form->File1->item(0)->text(), QStringLiteral("readme.txt"));
    QCOMPARE(m_platform->messages.size(), 2);

    // Back to the root drive.
    QTest::keyClick(m_form->Drive1, Qt::Key_Home);
    QCOMPARE(currentDir1Path(), QStringLiteral("/"));
    QCOMPARE(dir->currentRow(), 0);
    QCOMPARE(m_form->File1->count(), QDir("/").entryList(QDir::Files | QDir::Hidden | QDir::System).size());
}

void TestRegistrationWindow::pickerKeyboard()
{
    const QString exe = installGame("games/Quillvane");
    QVERIFY(writeFile(QFileInfo(exe).path() + "/A.TXT", "a"));
    installVersionList();
    startForm();
    openInDir1(QFileInfo(exe).path());
    QListWidget *files = m_form->File1;
    files->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    files->setCurrentRow(0);
    // Moving through the list asks nothing; Enter asks about the file under the cursor.
    QTest::keyClick(files, Qt::Key_Down);
    QCOMPARE(files->currentItem()->text(), QStringLiteral("QVX.EXE"));
    QCOMPARE(m_platform->messages.size(), 1);
    m_platform->answers.enqueue(6);
    QTest::keyClick(files, Qt::Key_Return);
    QCOMPARE(m_platform->prompts(), (QStringList{kSelect, "Set File: QVX.EXE"}));
    QCOMPARE(m_form->label(22)->text(), kDetected);
    QCOMPARE(readFile(configPath()), "QVXEXE=" + exe.toUtf8() + "\r\n");
}

void TestRegistrationWindow::checkReadsSettings()
{
    // Start-up with the sample stored, then a fresh window choosing it in the picker: both read its settings.
    const QString exe = installGame("games/Quillvane");
    installVersionList();
    for (const bool throughPicker : {false, true}) {
        delete m_form;
        m_form = nullptr;
        if (throughPicker) {
            QVERIFY(QFile::remove(configPath()));
            startForm();
            openInDir1(QFileInfo(exe).path());
            m_platform->answers.enqueue(6);
            clickFile("QVX.EXE");
        } else {
            QVERIFY(writeFile(configPath(), "QVXEXE=" + exe.toUtf8() + "\r\n"));
            startForm();
        }
        QCOMPARE(m_form->label(22)->text(), kDetected);
        QCOMPARE(m_form->GameFolder, exe.chopped(16));
        QCOMPARE(m_form->GraphicsSettingsPath,
                 m_form->GameFolder + tarnwell::native("Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML"));
        QCOMPARE(m_form->UserSettingsPath,
                 m_form->GameFolder + tarnwell::native("Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML"));
        QCOMPARE(m_form->text(3)->text(), QStringLiteral("120"));        // Brightness
        QCOMPARE(m_form->combo(1)->currentText(), QStringLiteral("1920x1080"));
        QVERIFY(m_form->check(5)->isChecked());                           // UseHDR
        QCOMPARE(m_form->text(11)->text(), QStringLiteral("65"));        // MusicVolume, user file
        QVERIFY(m_form->check(11)->isChecked());                          // Vibration, user file
    }
}

QTEST_MAIN(TestRegistrationWindow)
#include "tst_registration_window.moc"
