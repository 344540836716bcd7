// SPDX-License-Identifier: MIT
// The faults a naive reader and writer would have, each on real files: none may lose a byte.
#include "tst_settings.h"

#include "common/systemtest.h"

#include <QProcess>
#include <QRegularExpression>

#include <filesystem>


void TestSettings::faults_data()
{
    QTest::addColumn<QString>("cause");       // what happens to the graphics file
    QTest::addColumn<int>("answer");          // to a Yes/No question asked first (6 Yes, 7 No); 0: none asked
    QTest::addColumn<QStringList>("reports"); // a pattern for each message shown
    QTest::addColumn<bool>("replaced");       // the graphics file is written

    const QString ok = "^Settings written to file!$", refused = "It was not written: .*Operation not permitted";
    const QString unread = "could not be read when the settings were read";
    QTest::newRow("missing, stays missing") << "missing" << 0 << L{ok} << false;
    QTest::newRow("missing at read, there at Apply") << "appears" << 0 << L{"not there when the settings were read"}
                                                     << false;
    QTest::newRow("gone after read") << "vanishes" << 0 << L{"It is no longer there"} << false;
    QTest::newRow("both missing") << "none" << 0 << L{"No settings file was found in"} << false;
    QTest::newRow("unreadable at read") << "unreadable" << 0 << L{"could not be read: Permission denied", unread}
                                        << false;
    QTest::newRow("read-only, Yes") << "read-only" << 6 << L{"is read-only", ok} << true;
    QTest::newRow("read-only, No") << "read-only" << 7 << L{"is read-only", "you chose to leave it so"} << false;
    QTest::newRow("another name, Yes") << "hard link" << 6 << L{"has 1 other name \\(hard link\\).*keeps the old", ok}
                                       << true;
    QTest::newRow("another name, No") << "hard link" << 7 << L{"has 1 other name", "you chose to leave it"} << false;
    QTest::newRow("full disk") << "full disk" << 0 << L{"It was not written: No space left on device"} << false;
    QTest::newRow("immutable file: rename refused") << "immutable file" << 0 << L{refused} << false;
    QTest::newRow("immutable folder: no temporary file") << "immutable folder" << 0 << L{refused} << false;
}

void TestSettings::faults()
{
    QFETCH(QString, cause);
    QFETCH(int, answer);
    QFETCH(QStringList, reports);
    QFETCH(bool, replaced);
    if (cause == "unreadable")
        UNIX_ONLY("the owner of a file cannot take away their own right to read it");
    const bool needsRoot = cause == "full disk" || cause.startsWith("immutable"); // mount, chattr
    if (needsRoot)
        UNIX_ONLY("a small file system mounted, or a file made immutable with chattr");
    if (needsRoot && !testsupport::isSuperuser())
        QSKIP("needs root");
    if (!needsRoot && testsupport::rerunAsUser()) // as a player runs it, where permission bits bind
        return;
    if (cause == "full disk") {
        QVERIFY(QDir().mkpath(gameFolder()));
        if (!testsupport::mountSmallFileSystem(gameFolder(), "256k"))
            QSKIP("cannot mount a small file system here");
        m_unmount = gameFolder();
    }
    const bool absent = cause == "missing" || cause == "appears" || cause == "none";
    writeGame(absent ? QByteArray() : kGraphics, cause == "none" ? QByteArray() : kUser);
    const QFileDevice::Permissions readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (cause == "unreadable" || cause == "read-only")
        QVERIFY(QFile::setPermissions(graphicsPath(), cause == "read-only" ? readOnly : QFileDevice::Permissions()));
    std::error_code linkError;
    if (cause == "hard link")
        std::filesystem::create_hard_link(graphicsPath().toStdU16String(), (gameFolder() + "LINKED.MXML").toStdU16String(), linkError);
    QVERIFY2(!linkError, linkError.message().c_str());
    loadGame();
    if (cause != "none")
        QCOMPARE(controlValue(m_w->form.get(), "Text11"), QString("50")); // the other file is read all the same
    QTest::mouseClick(m_w->form->check(5), Qt::LeftButton);

    // Between read and write.
    QByteArray onDisk = absent || cause == "vanishes" ? "<unreadable>" : kGraphics;
    if (cause == "appears")
        QVERIFY(writeFile(graphicsPath(), onDisk = kGraphics));
    else if (cause == "vanishes")
        QVERIFY(QFile::remove(graphicsPath()));
    else if (cause == "unreadable") // readable again, but not read since
        QVERIFY(QFile::setPermissions(graphicsPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    else if (cause == "full disk") {
        QFile filler(gameFolder() + "filler");
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'x')) == 4096) {
        }
        filler.write("x");
    } else if (cause.startsWith("immutable")) {
        const QString target = cause == "immutable file" ? graphicsPath() : settingsFolder();
        if (QProcess::execute("chattr", {"+i", target}) != 0)
            QSKIP("chattr is not available or not supported here");
        m_immutable << target;
    }
    if (answer)
        m_w->platform.answers.enqueue(answer);
    apply();
    for (const QString &path : std::as_const(m_immutable))
        QProcess::execute("chattr", {"-i", path});
    QFile::remove(gameFolder() + "filler");

    QCOMPARE(prompts().size(), reports.size());
    const QString named = QDir::toNativeSeparators(cause == "none" ? settingsFolder() : graphicsPath());
    for (int i = 0; i < reports.size(); ++i) { // each report says which file, and why
        const QString prompt = prompts()[i];
        const bool names = reports[i].startsWith('^') || prompt.contains(named);
        QVERIFY2(prompt.contains(QRegularExpression(reports[i])) && names, qPrintable(prompt));
    }
    if (replaced) // catalogue lines rebuilt, the user's change in them
        onDisk.replace(prop("\t", "Brightness", "120"), written("Brightness", "120"))
            .replace(prop("\t", "UseHDR", "false"), written("UseHDR", "true")) += "\r\n";
    QCOMPARE(readFile(graphicsPath()), onDisk);
    const bool userWritten = cause != "none" && cause != "full disk" && cause != "immutable folder";
    QCOMPARE(readFile(userPath()).endsWith("\r\n"), userWritten); // the other file is written all the same
    if (cause == "read-only")
        QCOMPARE(QFile::permissions(graphicsPath()) & 0x7077, readOnly);
    if (cause == "hard link") // the other name keeps what the file held
        QCOMPARE(readFile(gameFolder() + "LINKED.MXML"), kGraphics);
    for (const QString &name : QDir(settingsFolder()).entryList(QDir::Files | QDir::Hidden)) // no temporary file left
        QVERIFY2(name.endsWith(".MXML"), qPrintable(name));
}
