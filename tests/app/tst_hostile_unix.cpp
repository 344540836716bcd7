// SPDX-License-Identifier: MIT
// Odd and hostile files where the tool expects its own and the game's: the window comes up, says
// what it found, and neither hangs, crashes, nor acts on the wrong thing.
#include "common/systemtest.h"
#include "common/testsupport.h"

#include <QMenu>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>

#include <tuple>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace testsupport;

namespace {

// A test function that hangs ends the test program, naming the row, instead of stalling the run.
[[maybe_unused]] const bool bounded = qputenv("QTEST_FUNCTION_TIMEOUT", "120000");

// What stands at the path, links not followed: its type, size and identity, so that a write over it shows.
QString kindOf(const QString &path)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return "nothing";
    return QString("mode %1, %2 bytes, inode %3").arg(info.st_mode, 0, 8).arg(info.st_size).arg(info.st_ino);
}

enum class Odd { Fifo, LinkToDevZero, Oversized, Folder };

// `oversized` bytes for an oversized file, sparse: far larger than memory, yet it takes no room on disk.
bool makeOdd(const QString &path, Odd kind, qint64 oversized = qint64(20) << 30)
{
    QFile::remove(path);
    if (kind == Odd::Fifo)
        return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
    if (kind == Odd::LinkToDevZero)
        return QFile::link("/dev/zero", path);
    if (kind == Odd::Folder)
        return QDir().mkpath(path);
    QFile sparse(path);
    return sparse.open(QIODevice::WriteOnly) && sparse.resize(oversized);
}

} // namespace

class TestHostile : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWindow> m_w;
    QString m_program, m_game;

    QString home() const { return m_w->dir.filePath("home"); }
    // The program folder with its known-versions file and a copy of the sample game registered.
    void install(bool registered = true)
    {
        QVERIFY(copySampleGame(m_game));
        QVERIFY(makeProgramFolder(m_program, registered ? m_game + "/Binaries/QVX.EXE" : QString()));
        m_w->platform.folder = m_program;
    }

private slots:
    void init()
    {
        m_w = std::make_unique<TestWindow>();
        m_program = m_w->dir.filePath("program");
        m_game = m_w->dir.filePath("Game");
        QVERIFY(QDir().mkpath(home()));
        qputenv("HOME", QFile::encodeName(home())); // where the picker starts
    }

    void oddFiles_data()
    {
        QTest::addColumn<QString>("file");   // below the program folder (P) or the game folder (G)
        QTest::addColumn<Odd>("kind");
        QTest::addColumn<qint64>("size");    // of an oversized file: a byte more than the file may hold
        QTest::addColumn<QString>("reason"); // in the message that names the file
        const std::tuple<Odd, const char *, const char *> kinds[] = {{Odd::Fifo, "fifo", "named pipe (FIFO)"},
            {Odd::LinkToDevZero, "link to /dev/zero", "device"}, {Odd::Oversized, "oversized", "larger than %1 MB"},
            {Odd::Folder, "folder", "is a folder"}};
        const QPair<const char *, int> files[] = {{"G/Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML", 64},
            {"G/Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML", 64}, {"P/Tarnwell.dat", 1}, {"P/dat/QVX.dat", 4},
            {"G/Binaries/QVX.EXE", 20 << 10}}; // megabytes; an executable is checked however large
        for (const auto &[file, megabytes] : files) {
            for (const auto &[kind, name, reason] : kinds)
                QTest::addRow("%s, %s", file, name) << QString(file) << kind << (qint64(megabytes) << 20) + 1
                                                    << QString(reason).arg(megabytes);
        }
    }

    void oddFiles()
    {
        QFETCH(QString, file);
        QFETCH(Odd, kind);
        QFETCH(qint64, size);
        QFETCH(QString, reason);
        install();
        const QString path = (file.startsWith('P') ? m_program : m_game) + file.mid(1);
        const QString config = m_program + "/Tarnwell.dat";
        const QString graphics = m_game + "/Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML";
        QVERIFY(makeOdd(path, kind, size));
        const QString odd = kindOf(path);
        // Read only what is not the odd thing: the test itself must not wait on a pipe.
        const QByteArray configBefore = path == config ? "" : readFile(config);
        const QByteArray graphicsBefore = path == graphics ? "" : readFile(graphics);

        QVERIFY(m_w->start(false));
        Form1 *form = m_w->form.get();
        QVERIFY(!form->isClosed());
        // A game executable of many gigabytes is simply large: its check goes on while the window answers.
        if (file.endsWith("QVX.EXE") && kind == Odd::Oversized) {
            QVERIFY(form->isChecking());
            QTRY_VERIFY(!form->check(1)->isEnabled() && !form->command(1)->isEnabled() && form->command(4)->isEnabled());
        } else {
            QTRY_VERIFY(!form->isChecking());
            const QString named = m_w->platform.prompts().filter(path).join("\n");
            QVERIFY2(named.contains(reason), qPrintable(m_w->platform.prompts().join("\n---\n")));
        }
        QTest::mouseClick(form->command(1), Qt::LeftButton); // "Apply" writes nothing over it
        QTRY_VERIFY(!form->isApplying());
        QCOMPARE(kindOf(path), odd);
        if (path != config)
            QCOMPARE(readFile(config), configBefore);
        if (path == config || path.endsWith("QVX.EXE")) // no game known: none of its files is written
            QCOMPARE(readFile(graphics), graphicsBefore);
    }

    void filesAtTheirBound_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("megabytes");
        QTest::newRow("a settings file of 64 MB") << "G/Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML" << 64;
        QTest::newRow("Tarnwell.dat of 1 MB") << "P/Tarnwell.dat" << 1;
        QTest::newRow("QVX.dat of 4 MB") << "P/dat/QVX.dat" << 4;
        QTest::newRow("Installations.json of 1 MB") << "P/Installations.json" << 1;
    }

    // A file of exactly the size its kind may have is read as any other: a byte more is refused (above).
    void filesAtTheirBound()
    {
        QFETCH(QString, file);
        QFETCH(int, megabytes);
        install();
        const QString path = (file.startsWith('P') ? m_program : m_game) + file.mid(1);
        const QString exe = m_game + "/Binaries/QVX.EXE";
        if (file.endsWith("Installations.json"))
            QVERIFY(writeFile(path, "{\n\"installations\": [{\"executable\": \"" + exe.toUtf8() + "\"}]}\n"));
        QByteArray bytes = readFile(path);
        const qsizetype at = bytes.indexOf('\n') + 1; // after its first line, a line of blanks fills it up
        bytes.insert(at, QByteArray((qint64(megabytes) << 20) - bytes.size() - 1, ' ') + '\n');
        QVERIFY(writeFile(path, bytes));
        QCOMPARE(QFileInfo(path).size(), qint64(megabytes) << 20);
        QVERIFY(m_w->start());
        QCOMPARE(m_w->platform.prompts(), QStringList());
        QCOMPARE(m_w->form->label(22)->text(), "Quillvane Sample Installation Detected!");
        QCOMPARE(m_w->form->text(3)->text(), "120"); // Brightness, from the game's file
        if (file.endsWith("Installations.json")) {
            QMenu *recent = m_w->form->recentMenu();
            QTRY_VERIFY((emit recent->aboutToShow(), recent->actions().value(0)->text() == exe));
        }
    }

    // The picker lists regular files (and links to them) only, and refuses a path that Tarnwell.dat cannot hold.
    void picker()
    {
        install(false);
        const QString folder = home() + "/Binaries", lineFeed = folder + "/Quill\nvane";
        QVERIFY(QDir().mkpath(lineFeed) && QFile::copy(m_game + "/Binaries/QVX.EXE", lineFeed + "/QVX.EXE"));
        QVERIFY(QFile::copy(m_game + "/Binaries/QVX.EXE", folder + "/QVX.EXE"));
        QVERIFY(QFile::link(folder + "/QVX.EXE", folder + "/link.EXE"));
        QVERIFY(makeOdd(folder + "/pipe.EXE", Odd::Fifo) && makeOdd(folder + "/zero.EXE", Odd::LinkToDevZero));
        QVERIFY(QFile::link(folder + "/gone", folder + "/broken.EXE"));
        const QByteArray socketPath = QFile::encodeName(folder + "/socket.EXE");
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, socketPath.constData(), sizeof address.sun_path);
        const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(socket >= 0 && ::bind(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
        qputenv("HOME", QFile::encodeName(folder));
        QVERIFY(m_w->start());
        Form1 &form = *m_w->form;
        QStringList offered;
        for (int i = 0; i < form.File1->count(); ++i)
            offered << form.File1->item(i)->text();
        ::close(socket);
        QCOMPARE(offered, QStringList({"link.EXE", "QVX.EXE"}));
        QVERIFY(writeFile(folder + "/NEW.EXE")); // made while the folder is open: listed at once
        QTRY_VERIFY(!form.File1->findItems("NEW.EXE", Qt::MatchExactly).isEmpty());

        QVERIFY(openFolder(form, lineFeed));
        QCOMPARE(form.File1->count(), 1);
        m_w->platform.answers.enqueue(Platform::Yes);
        QVERIFY(clickItem(form.File1, "QVX.EXE"));
        QCOMPARE(m_w->platform.prompts().last(), lineFeed + "/QVX.EXE\ncannot be registered: it holds a line break, "
                 "which Tarnwell cannot store. Rename the folder or the file and choose it again.");
        QVERIFY(!m_w->platform.prompts().contains("Set File: QVX.EXE")); // never asked about
        QVERIFY(form.GameExePath.isEmpty());
        QVERIFY(!QFileInfo::exists(m_program + "/Tarnwell.dat"));

        // A tab in a path is stored like any other character: the file is offered.
        QVERIFY(writeFile(home() + "/Quill\tvane/QVX.EXE") && openFolder(form, home() + "/Quill\tvane"));
        QVERIFY(clickItem(form.File1, "QVX.EXE"));
        QCOMPARE(m_w->platform.prompts().last(), "Set File: QVX.EXE");
    }

    void largeExecutableKeepsWindowAnswering()
    {
        install(false);
        QVERIFY(makeOdd(home() + "/QVX.EXE", Odd::Oversized));
        QVERIFY(m_w->start());
        Form1 *form = m_w->form.get();
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(10);
        m_w->platform.answers.enqueue(Platform::Yes);
        QVERIFY(clickItem(form->File1, "QVX.EXE"));
        QVERIFY(form->isChecking());
        // The window's own events go on, and so does the digest, which says how far it has come.
        QTRY_VERIFY(form->label(22)->text().startsWith("Checking the game executable: ") && ticks > 20);
        QPointer<QProgressDialog> progress;
        QTRY_VERIFY((progress = form->findChild<QProgressDialog *>()) && progress->isVisible());
        QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
        QTRY_VERIFY(!form->isChecking());
        // The dialog went with its check, and nothing holds the window.
        QTRY_VERIFY(!progress || !progress->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        // Given up: nothing registered, the picker back.
        QVERIFY(form->GameExePath.isEmpty());
        QVERIFY(!QFileInfo::exists(m_program + "/Tarnwell.dat"));
        QCOMPARE(form->label(22)->text(), QString("Not Set"));
        QCOMPARE(form->outerWidthTwips(), 11000);
        QVERIFY(form->check(1)->isEnabled());
    }

    // Tarnwell.dat is a link to a device: choosing an executable writes no file over the device, whoever
    // runs Tarnwell, and says why.
    void configOverDevice()
    {
        testsupport::rerunAsUser(); // the player's run first, where the superuser runs this
        install(false);
        const QString config = m_program + "/Tarnwell.dat", device = kindOf("/dev/zero");
        QVERIFY(makeOdd(config, Odd::LinkToDevZero));
        QVERIFY(m_w->start());
        QVERIFY(openFolder(*m_w->form, m_game + "/Binaries"));
        m_w->platform.answers.enqueue(Platform::Yes);
        QVERIFY(clickItem(m_w->form->File1, "QVX.EXE"));
        QTRY_VERIFY(!m_w->form->isBusy());
        QCOMPARE(kindOf("/dev/zero"), device);
        QCOMPARE(QFileInfo(config).symLinkTarget(), "/dev/zero");
        const QString why = ::geteuid() == 0 ? "it is a symbolic link" : "it is a device, not a regular file";
        QVERIFY2(m_w->platform.prompts().last().startsWith("Cannot save the game's path to " + config + ": " + why),
                 qPrintable(m_w->platform.prompts().join('\n')));
    }

    // A remembered installation that is gone (an unplugged disk), chosen while the start-up check of a
    // large executable runs: it is said so and nothing changes; the start-up check is taken up again.
    void goneChoiceEndsStartupCheck()
    {
        install();
        QVERIFY(makeOdd(m_game + "/Binaries/QVX.EXE", Odd::Oversized));
        QVERIFY(m_w->start(false));
        Form1 *form = m_w->form.get();
        QVERIFY(form->isChecking());
        const QString registered = form->GameExePath;
        const QByteArray configBefore = readFile(m_program + "/Tarnwell.dat");
        const QString gone = m_w->dir.filePath("Old/Binaries/QVX.EXE");
        form->SwitchInstallation(gone);
        QTRY_COMPARE(m_w->platform.prompts(), QStringList{gone + "\n\ncannot be chosen: it is no longer there. "
                                                                 "Nothing was changed."});
        QCOMPARE(form->GameExePath, registered);
        QCOMPARE(readFile(m_program + "/Tarnwell.dat"), configBefore);
        QVERIFY(form->isChecking()); // the registered one again
        QTRY_VERIFY(form->label(22)->text().startsWith("Checking the game executable: "));
    }

    void ownerKept()
    {
        if (::geteuid() != 0)
            QSKIP("only the superuser can give a file to another user");
        install();
        const QString graphics = m_game + "/Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML";
        QCOMPARE(::chown(QFile::encodeName(graphics).constData(), 65534, 65534), 0);
        QVERIFY(m_w->start());
        QTest::mouseClick(m_w->form->check(5), Qt::LeftButton);
        QTest::mouseClick(m_w->form->command(1), Qt::LeftButton);
        QTRY_VERIFY(!m_w->form->isBusy());
        QCOMPARE(m_w->platform.prompts().last(), QString("Settings written to file!"));
        QVERIFY(readFile(graphics).contains(" <Property name=\"UseHDR\" value=\"false\" />"));
        // The game, running as its player, can still write it.
        QCOMPARE(QFileInfo(graphics).ownerId(), 65534u);
        QCOMPARE(QFileInfo(graphics).groupId(), 65534u);
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile_unix.moc"
