// SPDX-License-Identifier: MIT
// The faults a naive reader and writer would have, each on real files: none may lose a byte.
#include "tst_settings.h"

#include "common/systemtest.h"

#include <QProcess>
#include <QRegularExpression>

#include <filesystem>

namespace {
// What happens to the graphics file between the read and "Apply" (NoFiles: neither file is there).
enum class Cause { Missing, Appears, Vanishes, NoFiles, Unreadable, ReadOnly, HardLink, FullDisk, ImmutableFile,
                   ImmutableFolder };
} // namespace

void TestSettings::faults_data()
{
    QTest::addColumn<Cause>("cause");          // what happens to the graphics file
    QTest::addColumn<Platform::Answer>("answer"); // to a Yes/No question asked first; Ok: none is asked
    QTest::addColumn<QStringList>("reports"); // a pattern for each message shown
    QTest::addColumn<bool>("replaced");       // the graphics file is written

    const QString ok = "^Settings written to file!$", refused = "It was not written: .*Operation not permitted";
    const QString unread = "could not be read when the settings were read";
    using enum Cause;
    constexpr Platform::Answer none = Platform::Ok, yes = Platform::Yes, no = Platform::No;
    QTest::newRow("missing, stays missing") << Missing << none << L{ok} << false;
    QTest::newRow("missing at read, there at Apply") << Appears << none << L{"not there when the settings were read"}
                                                     << false;
    QTest::newRow("gone after read") << Vanishes << none << L{"It is no longer there"} << false;
    QTest::newRow("both missing") << NoFiles << none << L{"No settings file was found in"} << false;
    QTest::newRow("unreadable at read") << Unreadable << none << L{"could not be read: Permission denied", unread}
                                        << false;
    QTest::newRow("read-only, Yes") << ReadOnly << yes << L{"is read-only", ok} << true;
    QTest::newRow("read-only, No") << ReadOnly << no << L{"is read-only", "you chose to leave it so"} << false;
    QTest::newRow("another name, Yes") << HardLink << yes << L{"has 1 other name \\(hard link\\).*keeps the old", ok}
                                       << true;
    QTest::newRow("another name, No") << HardLink << no << L{"has 1 other name", "you chose to leave it"} << false;
    QTest::newRow("full disk") << FullDisk << none << L{"It was not written: No space left on device"} << false;
    QTest::newRow("immutable file: rename refused") << ImmutableFile << none << L{refused} << false;
    QTest::newRow("immutable folder: no temporary file") << ImmutableFolder << none << L{refused} << false;
}

void TestSettings::faults()
{
    QFETCH(Cause, cause);
    QFETCH(Platform::Answer, answer);
    QFETCH(QStringList, reports);
    QFETCH(bool, replaced);
    if (cause == Cause::Unreadable)
        UNIX_ONLY("the owner of a file cannot take away their own right to read it");
    const bool needsRoot = cause == Cause::FullDisk || (cause == Cause::ImmutableFile || cause == Cause::ImmutableFolder); // mount, chattr
    if (needsRoot)
        UNIX_ONLY("a small file system mounted, or a file made immutable with chattr");
    if (needsRoot && !testsupport::isSuperuser())
        QSKIP("needs root");
    if (!needsRoot && testsupport::rerunAsUser()) // as a player runs it, where permission bits bind
        return;
    if (cause == Cause::FullDisk) {
        QVERIFY(QDir().mkpath(gameFolder()));
        if (!testsupport::mountSmallFileSystem(gameFolder(), "256k"))
            QSKIP("cannot mount a small file system here");
        m_unmount = gameFolder();
    }
    const bool absent = cause == Cause::Missing || cause == Cause::Appears || cause == Cause::NoFiles;
    writeGame(absent ? QByteArray() : kGraphics, cause == Cause::NoFiles ? QByteArray() : kUser);
    const QFileDevice::Permissions readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (cause == Cause::Unreadable || cause == Cause::ReadOnly)
        QVERIFY(QFile::setPermissions(graphicsPath(), cause == Cause::ReadOnly ? readOnly : QFileDevice::Permissions()));
    std::error_code linkError;
    if (cause == Cause::HardLink)
        std::filesystem::create_hard_link(graphicsPath().toStdU16String(), (gameFolder() + "LINKED.MXML").toStdU16String(), linkError);
    QVERIFY2(!linkError, linkError.message().c_str());
    loadGame();
    if (cause != Cause::NoFiles)
        QCOMPARE(controlValue(m_w->form.get(), "Text11"), QString("50")); // the other file is read all the same
    QTest::mouseClick(m_w->form->check(5), Qt::LeftButton);

    // Between read and write.
    QByteArray onDisk = absent || cause == Cause::Vanishes ? "<unreadable>" : kGraphics;
    if (cause == Cause::Appears)
        QVERIFY(writeFile(graphicsPath(), onDisk = kGraphics));
    else if (cause == Cause::Vanishes)
        QVERIFY(QFile::remove(graphicsPath()));
    else if (cause == Cause::Unreadable) // readable again, but not read since
        QVERIFY(QFile::setPermissions(graphicsPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    else if (cause == Cause::FullDisk) {
        QFile filler(gameFolder() + "filler");
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'x')) == 4096) {
        }
        filler.write("x");
    } else if ((cause == Cause::ImmutableFile || cause == Cause::ImmutableFolder)) {
        const QString target = cause == Cause::ImmutableFile ? graphicsPath() : settingsFolder();
        if (QProcess::execute("chattr", {"+i", target}) != 0)
            QSKIP("chattr is not available or not supported here");
        m_immutable << target;
    }
    if (answer != Platform::Ok)
        m_w->platform.answers.enqueue(answer);
    apply();
    for (const QString &path : std::as_const(m_immutable))
        QProcess::execute("chattr", {"-i", path});
    QFile::remove(gameFolder() + "filler");

    QCOMPARE(prompts().size(), reports.size());
    const QString named = QDir::toNativeSeparators(cause == Cause::NoFiles ? settingsFolder() : graphicsPath());
    for (int i = 0; i < reports.size(); ++i) { // each report says which file, and why
        const QString prompt = prompts()[i];
        const bool names = reports[i].startsWith('^') || prompt.contains(named);
        QVERIFY2(prompt.contains(QRegularExpression(reports[i])) && names, qPrintable(prompt));
    }
    if (replaced) // catalogue lines rebuilt, the user's change in them
        onDisk.replace(prop("\t", "Brightness", "120"), written("Brightness", "120"))
            .replace(prop("\t", "UseHDR", "false"), written("UseHDR", "true")) += "\r\n";
    QCOMPARE(readFile(graphicsPath()), onDisk);
    const bool userWritten = cause != Cause::NoFiles && cause != Cause::FullDisk && cause != Cause::ImmutableFolder;
    QCOMPARE(readFile(userPath()).endsWith("\r\n"), userWritten); // the other file is written all the same
    if (cause == Cause::ReadOnly)
        QCOMPARE(QFile::permissions(graphicsPath()) & 0x7077, readOnly);
    if (cause == Cause::HardLink) // the other name keeps what the file held
        QCOMPARE(readFile(gameFolder() + "LINKED.MXML"), kGraphics);
    for (const QString &name : QDir(settingsFolder()).entryList(QDir::Files | QDir::Hidden)) // no temporary file left
        QVERIFY2(name.endsWith(".MXML"), qPrintable(name));
}
