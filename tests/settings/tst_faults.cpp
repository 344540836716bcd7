// SPDX-License-Identifier: MIT
// The faults a naive reader and writer would have, each on real files: none may lose a byte.
#include "tst_settings.h"

#include "common/fakeplatform.h"
#include "form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <sys/mount.h>
#include <unistd.h>

namespace {

const QByteArray kGraphics = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Data template=\"GcGraphicsSettings\">\n"
    + prop("\t", "Brightness", "120") + "\n" + prop("\t", "DLSSQuality", "Balanced") + "\n"
    + prop("\t", "UseHDR", "false") + "\n</Data>\n";
const QByteArray kUser = "<Data template=\"GcUserSettingsData\">\n" + prop("\t", "MusicVolume", "50") + "\n</Data>\n";

QByteArray withHdr(QByteArray text)
{
    return text.replace(prop("\t", "UseHDR", "false"), written("UseHDR", "true"));
}

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

void TestSettings::missingFiles_data()
{
    QTest::addColumn<bool>("atRead");  // the graphics file exists when the settings are read
    QTest::addColumn<bool>("atApply"); // ... and when they are written
    QTest::addColumn<bool>("user");    // the user settings file exists
    QTest::addColumn<QString>("message"); // empty: Apply succeeds

    QTest::newRow("missing, stays missing") << false << false << true << "";
    QTest::newRow("missing at read, there at Apply") << false << true << true << "press Reload first";
    QTest::newRow("gone after read") << true << false << true << "It is no longer there";
    QTest::newRow("both missing") << false << false << false << "No settings file was found in";
}

void TestSettings::missingFiles()
{
    QFETCH(bool, atRead);
    QFETCH(bool, atApply);
    QFETCH(bool, user);
    QFETCH(QString, message);

    writeGame(atRead ? kGraphics : QByteArray(), user ? kUser : QByteArray());
    loadGame();
    QCOMPARE(prompts(), QStringList());
    const QByteArray created = "<Data>\n" + prop("\t", "UseHDR", "false") + "\n</Data>\n";
    if (atApply && !atRead)
        writeFile(graphicsPath(), created);
    if (!atApply && atRead)
        QVERIFY(QFile::remove(graphicsPath()));
    m_form->text(11)->setText("60");

    const bool ok = m_form->WriteConfig();
    QCOMPARE(ok, message.isEmpty());
    if (!ok) {
        QCOMPARE(m_platform->messages.size(), 1);
        QVERIFY2(m_platform->messages[0].prompt.contains(message), qPrintable(prompts().join('\n')));
        QCOMPARE(m_platform->messages[0].buttons, 48);
    }
    QCOMPARE(QFile::exists(graphicsPath()), atApply);
    if (atApply && !atRead)
        QCOMPARE(readFile(graphicsPath()), created);
    if (user) {
        QVERIFY(readFile(userPath()).contains(written("MusicVolume", "60")));
        if (!ok)
            QVERIFY(m_platform->messages[0].prompt.contains(QDir::toNativeSeparators(graphicsPath())));
    }
}

void TestSettings::unreadableFileReported()
{
    if (rerunAsUser())
        return;
    writeGame(kGraphics, kUser);
    QVERIFY(QFile::setPermissions(graphicsPath(), QFileDevice::Permissions()));
    loadGame();
    QCOMPARE(m_platform->messages.size(), 1);
    const QString report = m_platform->messages[0].prompt;
    QVERIFY2(report.contains(graphicsPath()) && report.contains("Permission denied"), qPrintable(report));
    QVERIFY(m_form->GraphicsLines.isEmpty());
    QCOMPARE(m_form->text(11)->text(), QString("50")); // the other file is still read

    // Readable again, but not read since: Apply leaves it alone.
    QVERIFY(QFile::setPermissions(graphicsPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    m_platform->messages.clear();
    QVERIFY(!m_form->WriteConfig());
    QVERIFY2(prompts().join('\n').contains("could not be read when the settings were read"), qPrintable(prompts().join('\n')));
    QCOMPARE(readFile(graphicsPath()), kGraphics);

    // After Reload it is written.
    m_form->ReadConfig();
    m_platform->messages.clear();
    QVERIFY2(m_form->WriteConfig(), qPrintable(prompts().join('\n')));
    QCOMPARE(readFile(graphicsPath()), kGraphics + "\r\n");
}

void TestSettings::changedOnDisk_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes") << 6;
    QTest::newRow("No") << 7;
}

void TestSettings::changedOnDisk()
{
    QFETCH(int, answer);
    writeGame(kGraphics, kUser);
    loadGame();
    QTest::mouseClick(m_form->check(5), Qt::LeftButton);

    // The game exits and writes its file anew: another value outside the catalogue, a new line,
    // and a catalogue value of its own.
    QByteArray game = kGraphics;
    game.replace("Balanced", "Quality").replace("</Data>", prop("\t", "NewSetting", "1") + "\n</Data>");
    game.replace(prop("\t", "Brightness", "120"), prop("\t", "Brightness", "130"));
    writeFile(graphicsPath() + ".new", game);
    QVERIFY(::rename(QFile::encodeName(graphicsPath() + ".new").constData(), QFile::encodeName(graphicsPath()).constData()) == 0);

    m_platform->answers.enqueue(answer);
    QTest::mouseClick(m_form->command(1), Qt::LeftButton);
    QCOMPARE(m_platform->messages.size(), 2);
    QVERIFY(m_platform->messages[0].prompt.contains(graphicsPath()));
    QVERIFY(m_platform->messages[0].prompt.contains("has changed since it was read"));
    QCOMPARE(m_platform->messages[0].buttons, 4 + 32);
    if (answer == 6) {
        QCOMPARE(m_platform->messages[1].prompt, QString("Settings written to file!"));
        // The window's values go into the game's new lines; the rest of them is kept.
        QByteArray expected = game;
        expected.replace(prop("\t", "Brightness", "130"), written("Brightness", "120"))
            .replace(prop("\t", "UseHDR", "false"), written("UseHDR", "true"));
        QCOMPARE(readFile(graphicsPath()), expected + "\r\n");
    } else {
        QVERIFY2(m_platform->messages[1].prompt.contains("you chose not to write over it"), qPrintable(prompts().join('\n')));
        QCOMPARE(readFile(graphicsPath()), game);
        QVERIFY(readFile(userPath()).endsWith("\r\n")); // the other file is still written
    }
}

void TestSettings::readOnlyFile_data()
{
    QTest::addColumn<bool>("asUser"); // run as an unprivileged user, where permission bits bind
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes") << false << 6;
    QTest::newRow("No") << false << 7;
    QTest::newRow("Yes, unprivileged") << true << 6;
    QTest::newRow("No, unprivileged") << true << 7;
}

void TestSettings::readOnlyFile()
{
    QFETCH(bool, asUser);
    QFETCH(int, answer);
    if (asUser && rerunAsUser())
        return;
    writeGame(kGraphics, kUser);
    const QFileDevice::Permissions readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QVERIFY(QFile::setPermissions(graphicsPath(), readOnly));
    loadGame();
    QTest::mouseClick(m_form->check(5), Qt::LeftButton);
    m_platform->answers.enqueue(answer);
    QTest::mouseClick(m_form->command(1), Qt::LeftButton);

    QCOMPARE(m_platform->messages.size(), 2);
    QVERIFY(m_platform->messages[0].prompt.contains("is read-only"));
    QCOMPARE(m_platform->messages[0].buttons, 4 + 32);
    if (answer == 6) {
        QCOMPARE(m_platform->messages[1].prompt, QString("Settings written to file!"));
        QCOMPARE(readFile(graphicsPath()), withHdr(kGraphics) + "\r\n");
    } else {
        QVERIFY(m_platform->messages[1].prompt.contains("you chose to leave it so"));
        QCOMPARE(readFile(graphicsPath()), kGraphics);
    }
    // Owner, group and others (the "user" bits say what this user may do, which differs for root).
    QCOMPARE(QFile::permissions(graphicsPath()) & 0x7077, readOnly);
    QCOMPARE(entries(settingsFolder()), QStringList({"GCUSERSETTINGSDATA.MXML", "TKGRAPHICSSETTINGS.MXML"}));
}

void TestSettings::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("reason"); // part of the message
    QTest::newRow("full disk") << "full disk" << "No space left on device";
    QTest::newRow("immutable file") << "immutable file" << "Operation not permitted";
    QTest::newRow("immutable folder") << "immutable folder" << "Operation not permitted";
    QTest::newRow("append-only folder: rename refused") << "append-only folder" << "Operation not permitted";
    QTest::newRow("read-only folder, unprivileged") << "read-only folder" << "Permission denied";
}

void TestSettings::failedWriteKeepsOldFile()
{
    QFETCH(QString, cause);
    QFETCH(QString, reason);
    if (cause == "read-only folder" && rerunAsUser())
        return;
    if (cause != "read-only folder" && ::geteuid() != 0)
        QSKIP("needs root (mount, chattr)");

    if (cause == "full disk") {
        QVERIFY(QDir().mkpath(gameFolder()));
        if (::mount("tmpfs", QFile::encodeName(gameFolder()).constData(), "tmpfs", 0, "size=256k") != 0)
            QSKIP("cannot mount a small file system here");
        m_unmount = gameFolder();
    }
    writeGame(kGraphics, kUser);
    loadGame();
    QTest::mouseClick(m_form->check(5), Qt::LeftButton);

    if (cause == "full disk") {
        QFile filler(gameFolder() + "filler");
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        filler.write(QByteArray(1, 'x'));
    } else if (cause == "read-only folder") {
        QVERIFY(QFile::setPermissions(settingsFolder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    } else {
        const QString target = cause == "immutable file" ? graphicsPath() : settingsFolder();
        if (!run("chattr", {cause.startsWith("append") ? "+a" : "+i", target}))
            QSKIP("chattr is not available or not supported here");
        m_immutable << target;
    }

    QTest::mouseClick(m_form->command(1), Qt::LeftButton);
    if (cause == "read-only folder")
        QFile::setPermissions(settingsFolder(), QFileDevice::Permissions(0x7700));
    for (const QString &path : std::as_const(m_immutable))
        run("chattr", {"-ia", path});

    QCOMPARE(m_platform->messages.size(), 1);
    const FakePlatform::Message message = m_platform->messages[0];
    QVERIFY2(message.prompt.contains(QDir::toNativeSeparators(graphicsPath()) + "\nIt was not written: "), qPrintable(message.prompt));
    QVERIFY2(message.prompt.contains(reason), qPrintable(message.prompt));
    QCOMPARE(message.buttons, 16);
    QCOMPARE(readFile(graphicsPath()), kGraphics);
    const QStringList left = entries(settingsFolder());
    if (cause != "append-only folder") // there the system refuses to remove the temporary file too
        QCOMPARE(left, QStringList({"GCUSERSETTINGSDATA.MXML", "TKGRAPHICSSETTINGS.MXML"}));

    // Once the cause is gone, Apply writes.
    if (cause == "full disk")
        QVERIFY(QFile::remove(gameFolder() + "filler"));
    for (const QString &name : left) {
        if (!name.endsWith(".MXML"))
            QFile::remove(settingsFolder() + "/" + name);
    }
    m_platform->messages.clear();
    QTest::mouseClick(m_form->command(1), Qt::LeftButton);
    QCOMPARE(prompts(), QStringList{"Settings written to file!"});
    QCOMPARE(readFile(graphicsPath()), withHdr(kGraphics) + "\r\n");
}

void TestSettings::refusedValueWritesNothing()
{
    writeGame(kGraphics, kUser);
    loadGame();
    m_form->text(11)->setText("70");
    m_form->text(3)->setText("1\"20");
    QTest::mouseClick(m_form->command(1), Qt::LeftButton);
    QCOMPARE(m_platform->messages.size(), 1);
    QVERIFY2(m_platform->messages[0].prompt.startsWith("The value of \"Brightness\" cannot be written: it holds a double quote"),
             qPrintable(m_platform->messages[0].prompt));
    QCOMPARE(readFile(graphicsPath()), kGraphics);
    QCOMPARE(readFile(userPath()), kUser);

    m_platform->messages.clear();
    m_form->text(3)->setText("120");
    m_form->combo(1)->setEditText("1920X1080");
    QTest::mouseClick(m_form->command(1), Qt::LeftButton);
    QCOMPARE(m_platform->messages.size(), 1);
    QVERIFY(m_platform->messages[0].prompt.startsWith("The value of \"Resolution\" cannot be written"));
    QCOMPARE(readFile(userPath()), kUser);
}

void TestSettings::applyBeforeExecutable()
{
    // Settings files below the working folder are no game's: nothing is read from them.
    writeFile(m_dir->path() + "/Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML", prop("\t", "Brightness", "999") + "\n");
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    startForm();
    QTest::mouseClick(m_form->command(3), Qt::LeftButton);
    QTest::mouseClick(m_form->command(1), Qt::LeftButton);
    QDir::setCurrent(previous);

    QCOMPARE(m_form->text(3)->text(), QString("115"));
    QCOMPARE(prompts(), QStringList{"No Quillvane QVX.EXE has been chosen yet, so no settings were written."});
    QCOMPARE(m_platform->messages[0].buttons, 48);
}
