// SPDX-License-Identifier: MIT
// Digest, known-versions scan, configuration file and paths, on real files.
#include "common/testfiles.h"
#include "registration/configfile.h"
#include "registration/digest.h"
#include "registration/folderlist.h"
#include "registration/gamefolder.h"
#include "registration/installations.h"
#include "registration/shortpath.h"
#include "registration/versionlist.h"

#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;

namespace {

// The digest of the stand-in executable in the shipped known-versions file.
const QByteArray kDigest = "d61a71eba5c9c4be8b6ecfe8b3e75e4f";

} // namespace

class TestRegistrationCore : public QObject
{
    Q_OBJECT

private slots:
    void md5Vectors_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("digest");
        // RFC 1321, appendix A.5.
        QTest::newRow("empty") << QByteArray() << "D41D8CD98F00B204E9800998ECF8427E";
        QTest::newRow("a") << QByteArray("a") << "0CC175B9C0F1B6A831C399E269772661";
        QTest::newRow("abc") << QByteArray("abc") << "900150983CD24FB0D6963F7D28E17F72";
        QTest::newRow("eight times digits") << QByteArray("1234567890").repeated(8) << "57EDF4A22BE3C955AC49DA2E2107B67A";
        // Several read pieces with a ragged end must join to the whole file's digest.
        QByteArray big(3 * 1024 * 1024 + 7, '\0');
        for (qsizetype i = 0; i < big.size(); ++i)
            big[i] = char(i * 31 % 251);
        QTest::newRow("several pieces") << big << "57EE16E091396160BA4E45C3C6CB663C";
    }

    void md5Vectors()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, digest);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("input.bin"), input));
        const tarnwell::FileDigest result = tarnwell::md5OfFile(dir.filePath("input.bin"));
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.hex, digest);
    }

    // Giving up part way ends the digest at once, without a result, whichever piece it happens at.
    void md5GivenUp_data()
    {
        QTest::addColumn<int>("calls"); // progress answers "go on" this many times, then "stop"
        QTest::newRow("at the first piece") << 0;
        QTest::newRow("at the second piece") << 1;
        QTest::newRow("at the last piece") << 1000;
    }

    void md5GivenUp()
    {
        QFETCH(int, calls);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("input.bin"), QByteArray(9 * 1024 * 1024, 'x')));
        int asked = 0;
        qint64 lastDone = 0;
        const tarnwell::FileDigest result = tarnwell::md5OfFile(dir.filePath("input.bin"),
                                                                [&](qint64 done, qint64 total) {
                                                                    lastDone = done;
                                                                    return total == 9 * 1024 * 1024 && done < total
                                                                           && asked++ < calls;
                                                                });
        QVERIFY(result.cancelled);
        QVERIFY(result.hex.isEmpty());
        QVERIFY(lastDone > 0);
    }

    // Remembering puts the executable first, once, with the launch way it had; every other file stays
    // once, its first entry kept. Paths that do not exist compare as written.
    void rememberInstallation_data()
    {
        QTest::addColumn<QStringList>("before"); // a path, with "*" after it for a command-line launch
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("new one first") << QStringList{"/a", "/b"} << "/c" << QStringList{"/c", "/a", "/b"};
        QTest::newRow("moved to the front") << QStringList{"/a", "/b"} << "/b" << QStringList{"/b", "/a"};
        QTest::newRow("its duplicates go") << QStringList{"/a", "/a", "/b"} << "/a" << QStringList{"/a", "/b"};
        QTest::newRow("another file's duplicates go") << QStringList{"/a", "/a", "/b"} << "/b"
                                                      << QStringList{"/b", "/a"};
        QTest::newRow("its launch way kept") << QStringList{"/a", "/b*"} << "/b" << QStringList{"/b*", "/a"};
        QTest::newRow("two spellings of one path") << QStringList{"/x/../a", "/a/"} << "/a" << QStringList{"/a"};
    }

    void rememberInstallation()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, remembered);
        QFETCH(QStringList, after);
        const QString root = QDir::rootPath() + "no-such-folder-tw"; // nothing there: paths as written
        QList<tarnwell::KnownInstallation> items;
        for (QString entry : before) {
            tarnwell::KnownInstallation item{root + entry.remove('*'), {}};
            if (before.contains(entry + '*'))
                item.launch = {tarnwell::LaunchChoice::CommandLine, "-novid"};
            items << item;
        }
        tarnwell::remember(items, root + remembered);
        QStringList listed;
        for (const tarnwell::KnownInstallation &item : items)
            listed << item.exePath.mid(root.size())
                    + (item.launch.kind == tarnwell::LaunchChoice::CommandLine ? "*" : "");
        QCOMPARE(listed, after);
    }

    void versionScan_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name"); // null: no line matches
        const QByteArray d = kDigest, o = "0123456789abcdef0123456789abcdef"; // o: a digest not looked for
        const QString none, uber = QString::fromUtf8("Quillvane \xC3\x9C" "ber");
        QTest::newRow("UTF-8 name") << o + " Old\r\n" + d + " Quillvane \xC3\x9C" "ber\r\n" << uber;
        QTest::newRow("8-bit name after a byte-order mark") << "\xEF\xBB\xBF" + d + " Quillvane \xDC" "ber\r\n" << uber;
        QTest::newRow("upper-case digest in the list") << d.toUpper() + " Quillvane\r\n" << none;
        QTest::newRow("position 33 dropped whatever it is, blanks kept") << d + "#  Name \r\n" << "  Name ";
        QTest::newRow("nothing after position 33") << d + " \r\n" << "";
        QTest::newRow("lone LF does not end a line") << o + " A\n" + d + " B\r\n" << none;
        QTest::newRow("lone CR ends a line") << o + " A\r" + d + " B\r" << "B";
        QTest::newRow("last match wins, last line without an end") << d + " First\r\n" + o + " X\r\n" + d + " Second"
                                                                   << "Second";
        QTest::newRow("line shorter than 32 characters") << d.left(31) + "\r\n" << none;
        QTest::newRow("empty file") << QByteArray() << none;
    }

    void versionScan()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        const std::optional<QString> found =
            tarnwell::findVersionName(tarnwell::versionListLines(content), QString::fromLatin1(kDigest));
        QCOMPARE(found.has_value(), !name.isNull());
        QCOMPARE(found.value_or(QString()), name);
    }

    void configFile_data()
    {
        QTest::addColumn<QByteArray>("before"); // Tarnwell.dat as found
        QTest::addColumn<QString>("saved");     // null: only read
        QTest::addColumn<QString>("path");      // then read back; null: nothing registered
        const QString far = QString::fromUtf8("/\xE6\x97\xA5\xE6\x9C\xAC/\xF0\x9F\x8E\xAE/\xC3\x9C" "ber \"Q\"=1/QVX.EXE");
        QTest::newRow("any 7 characters skipped, blanks kept, first line only")
            << QByteArray("ABCDEFG /a b/ \r\nQVXEXE=/two\r\n") << QString() << " /a b/ ";
        QTest::newRow("8-bit file after a byte-order mark") << QByteArray("\xEF\xBB\xBFQVXEXE=/Spiele/caf\xE9/QVX.EXE\r\n")
                                                        << QString() << QString::fromUtf8("/Spiele/caf\xC3\xA9/QVX.EXE");
        QTest::newRow("zero bytes register nothing") << QByteArray() << QString() << QString();
        QTest::newRow("save replaces a longer file") << QByteArray("QVXEXE=/a much longer path/QVX.EXE\r\nline 2\r\n")
                                                     << "/games/Q/Binaries/QVX.EXE" << "/games/Q/Binaries/QVX.EXE";
        QTest::newRow("non-Latin path survives save and load") << QByteArray() << far << far;
        QTest::newRow("Windows path from a drive root kept as it is") << QByteArray() << "E:\\\\QVX.EXE"
                                                                     << "E:\\\\QVX.EXE";
    }

    void configFile()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, saved);
        QFETCH(QString, path);
        QTemporaryDir dir;
        const QString file = dir.filePath("Tarnwell.dat");
        QVERIFY(writeFile(file, before));
        if (!saved.isNull()) {
            QCOMPARE(tarnwell::writeStoredPath(file, saved).error, QString());
            QCOMPARE(readFile(file), "QVXEXE=" + saved.toUtf8() + "\r\n"); // one line, nothing of the old file
        }
        const tarnwell::StoredPath stored = tarnwell::readStoredPath(file);
        using Status = tarnwell::StoredPath::Status;
        QCOMPARE(int(stored.status), int(path.isNull() ? Status::Empty : Status::Found));
        QCOMPARE(stored.path, path);
    }

    void paths()
    {
        QTemporaryDir dir;
        const QString exe = dir.filePath("Game/Binaries/QVX.EXE");
        QVERIFY(writeFile(exe, "exe"));
#ifdef Q_OS_WIN // the temporary folder's long name has a short one, with a tilde; the other names fit 8.3
        const QString shortExe = tarnwell::shortPath(exe);
        QVERIFY2(shortExe.contains('~') && !shortExe.contains(' ') && shortExe.endsWith("\\Game\\Binaries\\QVX.EXE"),
                 qPrintable(shortExe));
        QCOMPARE(readFile(shortExe), QByteArray("exe")); // the same file
        QCOMPARE(tarnwell::shortPath(dir.filePath("game/binaries/qvx.exe")).toUpper(), shortExe.toUpper());
#else
        QCOMPARE(tarnwell::shortPath(exe), exe);
        QCOMPARE(tarnwell::shortPath(dir.filePath("game/binaries/qvx.exe")), exe);
#endif
        // A path the one-line Tarnwell.dat could not give back is never picked; a tab breaks no line.
        QCOMPARE(tarnwell::storedPathProblem("/a\x1b" "b/QVX.EXE"), "it holds a control character (U+001B)");
        QCOMPARE(tarnwell::storedPathProblem("/a\tb/QVX.EXE"), QString());
        // A missing path gives empty text and nothing is created for it.
        QCOMPARE(tarnwell::shortPath(dir.filePath("Game/Binaries/GONE.EXE")), QString());
        QCOMPARE(tarnwell::shortPath(dir.filePath("Game/Gone/QVX.EXE")), QString());
        const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
        QCOMPARE(QDir(dir.filePath("Game")).entryList(all), QStringList{"Binaries"});
        QCOMPARE(QDir(dir.filePath("Game/Binaries")).entryList(all), QStringList{"QVX.EXE"});
        // A folder that ends in a separator (a root) gives the doubled separator.
#ifdef Q_OS_WIN
        QCOMPARE(tarnwell::pickedPath("D:\\Games\\Binaries", "QVX.EXE"), QStringLiteral("D:\\Games\\Binaries\\QVX.EXE"));
        QCOMPARE(tarnwell::pickedPath("E:\\", "QVX.EXE"), QStringLiteral("E:\\\\QVX.EXE"));
#else
        QCOMPARE(tarnwell::pickedPath("/games/Binaries", "QVX.EXE"), QStringLiteral("/games/Binaries/QVX.EXE"));
        QCOMPARE(tarnwell::pickedPath("/", "QVX.EXE"), QStringLiteral("//QVX.EXE"));
        QCOMPARE(tarnwell::pickedPath("/media/stick/", "QVX.EXE"), QStringLiteral("/media/stick//QVX.EXE"));
#endif
        // The game folder: 16 characters off for Binaries/QVX.EXE in any letter case (a folder named Binaries,
        // not one ending in it), else the folder above the file's folder, so that no path shown is a mangled one.
        const QList<QPair<QString, QString>> folders = {{"/home/us/Game/Binaries/QVX.EXE", "/home/us/Game/"},
            {"/home/us/Game/binaries/qvx.exe", "/home/us/Game/"}, {"/home/us/Game/Binaries/Launcher.exe", "/home/us/Game/"},
            {"/home/us/Launcher.exe", "/home/"}, {"/QVX.EXE", ""}, {"/games/MyBinaries/QVX.EXE", "/games/"},
            {"/games/BINARIES/qvx.exe", "/games/"}};
        const QString drive = kWindows ? "C:" : ""; // as Windows gives a path: from a drive, native
        for (const auto &[exe, folder] : folders)
            QCOMPARE(tarnwell::gameFolderOf(nativePath(drive + exe)), folder.isEmpty() ? "" : nativePath(drive + folder));
    }

};

QTEST_GUILESS_MAIN(TestRegistrationCore)
#include "tst_registration_core.moc"
