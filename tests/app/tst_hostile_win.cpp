// SPDX-License-Identifier: MIT
// What Windows alone puts where a file should be: reserved device names and named pipes are refused
// like a FIFO elsewhere, a trailing dot or blank names the file Windows makes of it, a stream name
// is not the file; nothing waits, and the file itself is never touched.
#include "common/testsupport.h"
#include "files/filecontent.h"
#include "registration/digest.h"

#include <windows.h>

using namespace testsupport;

namespace {
// What both readers make of the path: QVX.EXE read in full, a refusal of their own, or the system's error.
enum class Outcome { Read, Refused, SystemError };
} // namespace

class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    void specialNames_data()
    {
        QTest::addColumn<QString>("path");   // <dir>: a temporary folder holding QVX.EXE, which holds "exe"
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("reason"); // the refusal
        const QString device = "it is a device, not a regular file";
        using enum Outcome;
        QTest::newRow("NUL") << "NUL" << Refused << device;
        QTest::newRow("NUL with an extension, in a folder") << "<dir>\\nul.txt" << Refused << device;
        // A console, or none for a program without one.
        QTest::newRow("CON in a folder") << "<dir>\\CON" << SystemError << "";
        QTest::newRow("COM1") << "COM1" << SystemError << "";
        QTest::newRow("named pipe") << "\\\\.\\pipe\\tarnwell-test" << Refused
                                    << "it is a named pipe, not a regular file";
        QTest::newRow("trailing dot") << "<dir>\\QVX.EXE." << Read << "";
        QTest::newRow("trailing blank") << "<dir>\\QVX.EXE " << Read << "";
        QTest::newRow("alternate data stream") << "<dir>\\QVX.EXE:stream" << SystemError << "";
    }

    // Both readers of the game's files: the whole-file read of the settings files, and the digest.
    void specialNames()
    {
        QFETCH(QString, path);
        QFETCH(Outcome, outcome);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("QVX.EXE"), "exe"));
        path.replace("<dir>", nativePath(dir.path()));
        // A pipe that would wait for a writer forever, as a FIFO would; an instance for each reader.
        HANDLE pipes[2];
        for (HANDLE &pipe : pipes)
            pipe = CreateNamedPipeW(L"\\\\.\\pipe\\tarnwell-test", PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT,
                                    PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr);
        const auto closePipes = qScopeGuard([&pipes] { CloseHandle(pipes[0]), CloseHandle(pipes[1]); });
        QVERIFY(pipes[0] != INVALID_HANDLE_VALUE && pipes[1] != INVALID_HANDLE_VALUE);

        const tarnwell::FileBytes bytes = tarnwell::readWholeFile(path, tarnwell::kSettingsFileLimit);
        const tarnwell::FileDigest digest = tarnwell::md5OfFile(path);
        QCOMPARE(bytes.bytes, outcome == Outcome::Read ? QByteArray("exe") : QByteArray());
        QCOMPARE(digest.hex, outcome == Outcome::Read ? "98E83379D45538379C2AC4E47C3BE81D" : ""); // md5sum of "exe"
        for (const QString &error : {bytes.error, digest.error})
            QVERIFY2(outcome == Outcome::SystemError ? !error.isEmpty() : error == reason, qPrintable(error));
        QCOMPARE(readFile(dir.filePath("QVX.EXE")), "exe");
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile_win.moc"
