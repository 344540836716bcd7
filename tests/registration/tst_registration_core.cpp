// SPDX-License-Identifier: MIT
// Digest, known-versions scan, configuration file, short paths and the picker's lists, on real files.
#include "registration/configfile.h"
#include "registration/digest.h"
#include "registration/folderlist.h"
#include "registration/shortpath.h"
#include "registration/versionlist.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The digest of the stand-in executable in the shipped known-versions file, and one that is not listed.
const QByteArray kDigest = "d61a71eba5c9c4be8b6ecfe8b3e75e4f";
const QByteArray kOther = "0123456789abcdef0123456789abcdef";

} // namespace

class TestRegistrationCore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void md5Vectors_data();
    void md5Vectors();
    void md5Failures_data();
    void md5Failures();
    void versionScan_data();
    void versionScan();
    void versionListFile();
    void storedPathRead_data();
    void storedPathRead();
    void storedPathRoundTrip_data();
    void storedPathRoundTrip();
    void storedPathWriteFailure_data();
    void storedPathWriteFailure();
    void shortPath_data();
    void shortPath();
    void folderRows();
    void fileNames();
    void pickedPath_data();
    void pickedPath();
    void drives();

private:
    QTemporaryDir *m_dir = nullptr;
};

void TestRegistrationCore::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
}

void TestRegistrationCore::cleanup()
{
    delete m_dir;
}

void TestRegistrationCore::md5Vectors_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("digest");
    // RFC 1321, appendix A.5.
    QTest::newRow("empty") << QByteArray() << "D41D8CD98F00B204E9800998ECF8427E";
    QTest::newRow("a") << QByteArray("a") << "0CC175B9C0F1B6A831C399E269772661";
    QTest::newRow("abc") << QByteArray("abc") << "900150983CD24FB0D6963F7D28E17F72";
    QTest::newRow("message digest") << QByteArray("message digest") << "F96B697D7CB7938D525A2F31AAF161D0";
    QTest::newRow("alphabet") << QByteArray("abcdefghijklmnopqrstuvwxyz") << "C3FCD3D76192E4007DFB496CCA67E13B";
    QTest::newRow("alphanumeric")
        << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")
        << "D174AB98D277D9F5A5611C2C9F419D9F";
    QTest::newRow("eight times digits") << QByteArray("1234567890").repeated(8) << "57EDF4A22BE3C955AC49DA2E2107B67A";
    // Several read pieces with a ragged end: the pieces must join to the whole file's digest.
    QByteArray big(3 * 1024 * 1024 + 7, '\0');
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char(i * 31 % 251);
    QTest::newRow("several pieces") << big
                                    << QString::fromLatin1(QCryptographicHash::hash(big, QCryptographicHash::Md5).toHex().toUpper());
}

void TestRegistrationCore::md5Vectors()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, digest);
    const QString path = m_dir->filePath("input.bin");
    writeFile(path, input);
    const tarnwell::FileDigest result = tarnwell::md5OfFile(path);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.hex, digest);
    QCOMPARE(readFile(path), input); // read only
}

void TestRegistrationCore::md5Failures_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing file") << "missing.exe";
    QTest::newRow("folder") << "folder";
    // Exists and opens, but its first bytes cannot be read, even by the superuser.
    QTest::newRow("unreadable") << "/proc/self/mem";
}

void TestRegistrationCore::md5Failures()
{
    QFETCH(QString, path);
    QVERIFY(QDir(m_dir->path()).mkdir("folder"));
    const tarnwell::FileDigest result = tarnwell::md5OfFile(QDir(m_dir->path()).filePath(path));
    QVERIFY(!result.ok());
    QVERIFY(!result.error.isEmpty());
    QVERIFY(result.hex.isEmpty());
}

void TestRegistrationCore::versionScan_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("matches");
    QTest::addColumn<QString>("name");
    const QByteArray d = kDigest;
    const QByteArray o = kOther;
    QTest::newRow("match") << o + " Old\r\n" + d + " Quillvane 1.2\r\n" << true << "Quillvane 1.2";
    QTest::newRow("upper-case digest in the list") << d.toUpper() + " Quillvane 1.2\r\n" << false << "";
    QTest::newRow("separator is dropped whatever it is") << d + "#Name\r\n" << true << "Name";
    QTest::newRow("name right after the digits loses a letter") << d + "Name\r\n" << true << "ame";
    QTest::newRow("blanks after the separator are kept") << d + "   Name \r\n" << true << "  Name ";
    QTest::newRow("nothing after the separator") << d + " \r\n" << true << "";
    QTest::newRow("digits alone") << d + "\r\n" << true << "";
    QTest::newRow("lone LF does not end a line") << o + " A\n" + d + " B\r\n" << false << "";
    QTest::newRow("lone LF stays in the name") << d + " A\n" + o + " B\r\n" << true << QString::fromLatin1("A\n" + o + " B");
    QTest::newRow("lone CR ends a line") << o + " A\r" + d + " B\r" << true << "B";
    QTest::newRow("last match wins") << d + " First\r\n" + o + " X\r\n" + d + " Second\r\n" << true << "Second";
    QTest::newRow("last line without an end") << o + " X\r\n" + d + " Tail" << true << "Tail";
    QTest::newRow("line shorter than 32 characters") << d.left(31) + "\r\n" << false << "";
    QTest::newRow("digest split by a line end") << d.left(16) + "\r\n" + d.mid(16) + " X\r\n" << false << "";
    QTest::newRow("empty file") << QByteArray() << false << "";
    QTest::newRow("UTF-8 name") << d + " Quillvane \xC3\x9C" "ber\r\n" << true << QString::fromUtf8("Quillvane \xC3\x9C" "ber");
    QTest::newRow("8-bit name of earlier lists") << d + " Quillvane \xDC" "ber\r\n" << true
                                                 << QString::fromUtf8("Quillvane \xC3\x9C" "ber");
}

void TestRegistrationCore::versionScan()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, matches);
    QFETCH(QString, name);
    const std::optional<QString> found =
        tarnwell::findVersionName(tarnwell::versionListLines(content), QString::fromLatin1(kDigest));
    QCOMPARE(found.has_value(), matches);
    if (matches)
        QCOMPARE(*found, name);
}

void TestRegistrationCore::versionListFile()
{
    const QString path = m_dir->filePath("QVX.dat");
    const tarnwell::VersionList missing = tarnwell::readVersionList(path);
    QVERIFY(!missing.error.isEmpty());

    // The shipped list names the sample's stand-in executable.
    const tarnwell::VersionList shipped = tarnwell::readVersionList(TARNWELL_SOURCE_DIR "/dat/QVX.dat");
    QVERIFY2(shipped.error.isEmpty(), qPrintable(shipped.error));
    const tarnwell::FileDigest sample = tarnwell::md5OfFile(TARNWELL_SOURCE_DIR "/examples/Quillvane/Binaries/QVX.EXE");
    QVERIFY(sample.ok());
    QCOMPARE(tarnwell::findVersionName(shipped.lines, sample.hex.toLower()).value_or("<none>"),
             QStringLiteral("Quillvane Sample Installation"));
    // Its lines end in CR LF, and git must not have turned them into lone LFs.
    const QByteArray bytes = readFile(TARNWELL_SOURCE_DIR "/dat/QVX.dat");
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
    QVERIFY(bytes.endsWith("\r\n"));
}

void TestRegistrationCore::storedPathRead_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("path");
    const int found = int(tarnwell::StoredPath::Status::Found);
    QTest::newRow("key and path") << QByteArray("QVXEXE=/games/Q/Binaries/QVX.EXE\r\n") << found << "/games/Q/Binaries/QVX.EXE";
    QTest::newRow("any 7 characters are skipped") << QByteArray("ABCDEFG/games/QVX.EXE\r\n") << found << "/games/QVX.EXE";
    QTest::newRow("key alone") << QByteArray("QVXEXE=\r\n") << found << "";
    QTest::newRow("short first line") << QByteArray("QVX\r\nQVXEXE=/second\r\n") << found << "";
    QTest::newRow("blanks are part of the path") << QByteArray("QVXEXE= /a b/ \r\n") << found << " /a b/ ";
    QTest::newRow("lines after the first are ignored") << QByteArray("QVXEXE=/one\r\nQVXEXE=/two\r\n") << found << "/one";
    QTest::newRow("no line end") << QByteArray("QVXEXE=/one") << found << "/one";
    QTest::newRow("line feed alone") << QByteArray("QVXEXE=/one\n/two") << found << "/one";
    QTest::newRow("UTF-8") << QByteArray("QVXEXE=/Spiele/\xC3\x9C" "ber \xE6\x97\xA5/QVX.EXE\r\n") << found
                           << QString::fromUtf8("/Spiele/\xC3\x9C" "ber \xE6\x97\xA5/QVX.EXE");
    QTest::newRow("8-bit text of earlier versions") << QByteArray("QVXEXE=/Spiele/caf\xE9/QVX.EXE\r\n") << found
                                                    << QString::fromUtf8("/Spiele/caf\xC3\xA9/QVX.EXE");
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBFQVXEXE=/x\r\n") << found << "/x";
    QTest::newRow("zero bytes") << QByteArray() << int(tarnwell::StoredPath::Status::Empty) << "";
}

void TestRegistrationCore::storedPathRead()
{
    QFETCH(QByteArray, content);
    QFETCH(int, status);
    QFETCH(QString, path);
    const QString file = m_dir->filePath("Tarnwell.dat");
    writeFile(file, content);
    const tarnwell::StoredPath stored = tarnwell::readStoredPath(file);
    QCOMPARE(int(stored.status), status);
    QCOMPARE(stored.path, path);
}

void TestRegistrationCore::storedPathRoundTrip_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("plain") << "/games/Quillvane/Binaries/QVX.EXE";
    QTest::newRow("blanks, quotes and an equals sign") << " /my games/\"Q\"=1/Binaries/QVX.EXE ";
    QTest::newRow("beyond any 8-bit code page") << QString::fromUtf8("/\xE6\x97\xA5\xE6\x9C\xAC/\xF0\x9F\x8E\xAE/\xC3\x9C" "ber/QVX.EXE");
    QTest::newRow("empty") << "";
}

void TestRegistrationCore::storedPathRoundTrip()
{
    QFETCH(QString, path);
    const QString file = m_dir->filePath("Tarnwell.dat");
    writeFile(file, "QVXEXE=/a much longer path that was stored before and must leave no trace/QVX.EXE\r\nline 2\r\n");
    QVERIFY(tarnwell::writeStoredPath(file, path).isEmpty());
    QCOMPARE(readFile(file), "QVXEXE=" + path.toUtf8() + "\r\n");
    const tarnwell::StoredPath stored = tarnwell::readStoredPath(file);
    QCOMPARE(int(stored.status), int(tarnwell::StoredPath::Status::Found));
    QCOMPARE(stored.path, path);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Tarnwell.dat"}); // no leftovers
}

void TestRegistrationCore::storedPathWriteFailure_data()
{
    QTest::addColumn<QString>("target");
    // Places that no user, the superuser included, can write the file to.
    QTest::newRow("folder is a file") << "file/Tarnwell.dat";
    QTest::newRow("folder is missing") << "missing/Tarnwell.dat";
    QTest::newRow("a folder holds the name") << "folder";
}

void TestRegistrationCore::storedPathWriteFailure()
{
    QFETCH(QString, target);
    writeFile(m_dir->filePath("file"), "keep");
    QVERIFY(QDir(m_dir->path()).mkdir("folder"));
    const QString error = tarnwell::writeStoredPath(m_dir->filePath(target), "/games/QVX.EXE");
    QVERIFY(!error.isEmpty());
    QCOMPARE(readFile(m_dir->filePath("file")), QByteArray("keep"));
    QVERIFY(QFileInfo(m_dir->filePath("folder")).isDir());
}

void TestRegistrationCore::shortPath_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("expected");
    QTest::newRow("existing file") << "Game/Binaries/QVX.EXE" << "Game/Binaries/QVX.EXE";
    QTest::newRow("existing folder") << "Game/GAMEDATA" << "Game/GAMEDATA";
    QTest::newRow("letter case differs") << "game/binaries/qvx.exe" << "Game/Binaries/QVX.EXE";
    QTest::newRow("missing file in an existing folder") << "Game/Binaries/GONE.EXE" << "";
    QTest::newRow("path in a missing folder") << "Game/Gone/QVX.EXE" << "";
}

void TestRegistrationCore::shortPath()
{
    QFETCH(QString, asked);
    QFETCH(QString, expected);
    QDir root(m_dir->path());
    QVERIFY(root.mkpath("Game/Binaries"));
    QVERIFY(root.mkpath("Game/GAMEDATA"));
    writeFile(root.filePath("Game/Binaries/QVX.EXE"), "exe");
    const QStringList before = QDir(root.filePath("Game/Binaries")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    const QString result = tarnwell::shortPath(root.filePath(asked));
    QCOMPARE(result, expected.isEmpty() ? QString() : root.filePath(expected));
    // Nothing is ever created, and nothing existing is touched.
    QCOMPARE(QDir(root.filePath("Game/Binaries")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QVERIFY(!root.exists("Game/Gone"));
    QCOMPARE(readFile(root.filePath("Game/Binaries/QVX.EXE")), QByteArray("exe"));
    QVERIFY(tarnwell::shortPath(QString()).isEmpty());
}

void TestRegistrationCore::folderRows()
{
    QDir root(m_dir->path());
    QVERIFY(root.mkpath("a/b/y"));
    QVERIFY(root.mkpath("a/b/X"));
    QVERIFY(root.mkpath("a/b/.hidden"));
    QVERIFY(root.mkpath("a/sibling"));
    writeFile(root.filePath("a/b/file.txt"), "");
    const QString current = root.filePath("a/b");

    const QList<tarnwell::FolderRow> rows = tarnwell::folderRows(current + "/");
    QVERIFY(rows.size() >= 4);
    QCOMPARE(rows.first().path, QStringLiteral("/"));
    QCOMPARE(rows.first().name, QStringLiteral("/"));
    qsizetype currentRow = -1;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows[i].current) {
            QCOMPARE(currentRow, -1);
            currentRow = i;
        }
    }
    QVERIFY(currentRow > 0);
    QCOMPARE(rows[currentRow].path, current);
    QCOMPARE(rows[currentRow].name, QStringLiteral("b"));
    QCOMPARE(rows[currentRow - 1].path, root.filePath("a"));
    // Ancestors from the root down, each one level deeper, all open.
    for (qsizetype i = 0; i <= currentRow; ++i) {
        QCOMPARE(rows[i].depth, int(i));
        QVERIFY(rows[i].open);
    }
    // Then the subfolders, hidden ones too, one level deeper and closed; no files, no siblings.
    QStringList children;
    for (qsizetype i = currentRow + 1; i < rows.size(); ++i) {
        QCOMPARE(rows[i].depth, int(currentRow) + 1);
        QVERIFY(!rows[i].open);
        QCOMPARE(rows[i].path, current + "/" + rows[i].name);
        children << rows[i].name;
    }
    children.sort(Qt::CaseInsensitive);
    QCOMPARE(children, (QStringList{".hidden", "X", "y"}));
    QCOMPARE(tarnwell::folderPath(current + "/./"), current);
    QCOMPARE(tarnwell::folderPath("/"), QStringLiteral("/"));
}

void TestRegistrationCore::fileNames()
{
    QDir root(m_dir->path());
    QVERIFY(root.mkpath("sub"));
    writeFile(root.filePath("QVX.EXE"), "");
    writeFile(root.filePath(".hidden"), "");
    writeFile(root.filePath("b.txt"), "");
    QCOMPARE(tarnwell::fileNames(root.path()), (QStringList{".hidden", "b.txt", "QVX.EXE"}));
    QCOMPARE(tarnwell::folderProblem(root.path()), QString());
    QVERIFY(!tarnwell::folderProblem(root.filePath("gone")).isEmpty());
    QVERIFY(!tarnwell::folderProblem(root.filePath("QVX.EXE")).isEmpty());
}

void TestRegistrationCore::pickedPath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");
    QTest::newRow("game folder") << "/games/Quillvane/Binaries" << "/games/Quillvane/Binaries/QVX.EXE";
    QTest::newRow("root keeps the doubled separator") << "/" << "//QVX.EXE";
    QTest::newRow("a folder ending in a separator") << "/media/stick/" << "/media/stick//QVX.EXE";
}

void TestRegistrationCore::pickedPath()
{
    QFETCH(QString, folder);
    QFETCH(QString, path);
    QCOMPARE(tarnwell::pickedPath(folder, "QVX.EXE"), path);
}

void TestRegistrationCore::drives()
{
    const QList<tarnwell::Drive> all = tarnwell::drives();
    QVERIFY(!all.isEmpty());
    QCOMPARE(all.first().root, QStringLiteral("/"));
    for (const tarnwell::Drive &drive : all)
        QVERIFY2(drive.root.endsWith('/'), qPrintable(drive.root));
    QStringList roots;
    for (const tarnwell::Drive &drive : all)
        roots << drive.root;
    const QString holder = tarnwell::driveOf(roots, m_dir->path());
    QVERIFY(!holder.isEmpty());
    QVERIFY(m_dir->path().startsWith(holder));
    // The longest root that leads to the folder wins; a name that merely begins alike does not lead there.
    const QStringList made{"/", "/media/", "/media/stick/", "/media/st/"};
    QCOMPARE(tarnwell::driveOf(made, "/media/stick/Games"), QStringLiteral("/media/stick/"));
    QCOMPARE(tarnwell::driveOf(made, "/media/stick"), QStringLiteral("/media/stick/"));
    QCOMPARE(tarnwell::driveOf(made, "/media/sticky"), QStringLiteral("/media/"));
    QCOMPARE(tarnwell::driveOf(QStringList{"/media/"}, "/home"), QString());
    QCOMPARE(tarnwell::driveProblem("/"), QString());
    QVERIFY(!tarnwell::driveProblem(m_dir->filePath("unplugged/")).isEmpty());
}

QTEST_GUILESS_MAIN(TestRegistrationCore)
#include "tst_registration_core.moc"
