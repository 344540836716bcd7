// SPDX-License-Identifier: MIT
// The one way to touch a file and the one way to run work beside the window: writes that no link or
// other user's folder can steer, a last look that never loses the game's change, temporaries that do
// not stay; results on the owner's thread, only while it lives and wants them, and an end of the
// program that never waits without a bound.
#include "common/systemtest.h"
#include "common/testfiles.h"
#include "files/background.h"
#include "files/filecontent.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <memory>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace tarnwell;
using namespace testsupport;

namespace {

// What happens to the owner, or to the job, before the task has ended.
enum class Before { Nothing, OwnerGone, Cancelled };
// What stands where a settings file is written: its own file, or what an attacker or a mistake made.
enum class Place { OwnLink, OthersLink, OthersFolder, GroupFolder, RootFolder, LinkToDevice, Fifo };
// What the game does to the file while the new content is being written.
enum class Game { Nothing, InPlace, Renamed, HeldOpen };

const QByteArray kOld = "<Data>\n\t<Property name=\"Brightness\" value=\"120\" />\n</Data>\n";
const QByteArray kNew = "<Data>\n <Property name=\"Brightness\" value=\"90\" />\n</Data>\n\r\n";
const QByteArray kGames = "<Data>\n\t<Property name=\"Brightness\" value=\"130\" />\n</Data>\n";

Producer bytes(const QByteArray &content)
{
    return [content](const ChunkSink &sink) { return sink(content); };
}

#ifdef Q_OS_UNIX
bool own(const QString &path, uid_t user, bool link = false)
{
    const QByteArray name = QFile::encodeName(path);
    return (link ? ::lchown(name.constData(), user, user) : ::chown(name.constData(), user, user)) == 0;
}
#endif

} // namespace

class TestFiles : public QObject
{
    Q_OBJECT

private slots:
    void reach_data()
    {
        QTest::addColumn<Place>("place");
        QTest::addColumn<bool>("asRoot");  // the superuser runs it; else the player does
        QTest::addColumn<QString>("refusal"); // a pattern of why it was not written; empty: it was
        using enum Place;
        const QString runAs = "run Tarnwell as nobody \\(user id 65534\\) to change it";
        QTest::newRow("the player's own link to their own file") << OwnLink << false << "";
        QTest::newRow("root, a link planted by another user") << OthersLink << true << "symbolic link.*" + runAs;
        QTest::newRow("root, in another user's folder") << OthersFolder << true << "belongs to nobody.*" + runAs;
        QTest::newRow("root, in a folder its group can write") << GroupFolder << true
                                                             << "other users can write in \\(mode 0770\\)";
        QTest::newRow("root, in its own folder") << RootFolder << true << "";
        QTest::newRow("the player's link to a device") << LinkToDevice << false << "it is a device";
        QTest::newRow("root, a link to a device") << LinkToDevice << true << "it is a symbolic link";
        QTest::newRow("a named pipe") << Fifo << false << "it is a named pipe";
    }

    // Where a file is written, as sudoedit would have it: the superuser never through a link nor in a
    // folder another user can change meanwhile; nobody ever over a device or a pipe.
    void reach()
    {
        UNIX_ONLY("owners, links, devices and named pipes of Unix");
#ifdef Q_OS_UNIX
        QFETCH(Place, place);
        QFETCH(bool, asRoot);
        QFETCH(QString, refusal);
        if (asRoot && !isSuperuser())
            QSKIP("needs the superuser");
        if (!asRoot && rerunAsUser())
            return;
        QTemporaryDir tmp;
        const QString folder = tmp.filePath("SETTINGS"), file = folder + "/TKGRAPHICSSETTINGS.MXML";
        const QString secret = tmp.filePath("root/secret"); // a root-only file, for a link to aim at
        QVERIFY(writeFile(file, kOld) && writeFile(secret, kOld));
        QVERIFY(QFile::setPermissions(tmp.filePath("root"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QString target = place == Place::OwnLink ? tmp.filePath("synced/TKGRAPHICSSETTINGS.MXML") : secret;
        QVERIFY(place != Place::OwnLink || writeFile(target, kOld));
        const bool link = place == Place::OwnLink || place == Place::OthersLink || place == Place::LinkToDevice;
        QVERIFY(!link || (QFile::remove(file) && QFile::link(place == Place::LinkToDevice ? "/dev/null" : target, file)));
        QVERIFY(place != Place::OthersLink || own(file, 65534, true));
        QVERIFY(place != Place::OthersFolder || own(folder, 65534));
        QVERIFY(place != Place::GroupFolder || ::chmod(QFile::encodeName(folder).constData(), 0770) == 0);
        QVERIFY(place != Place::Fifo || (QFile::remove(file) && ::mkfifo(QFile::encodeName(file).constData(), 0644) == 0));

        const FileWrite written = writeAtomically(file, bytes(kNew));
        QCOMPARE(written.ok(), refusal.isEmpty());
        QVERIFY2(written.problem.contains(QRegularExpression(refusal)), qPrintable(written.problem));
        QCOMPARE(readFile(secret), kOld); // never written through a planted link
        if (place == Place::OwnLink) { // through the link, which stays one
            QCOMPARE(readFile(target), kNew);
            QCOMPARE(QFileInfo(file).symLinkTarget(), target);
        } else if (place == Place::OthersFolder || place == Place::GroupFolder || place == Place::RootFolder) {
            QCOMPARE(readFile(file), refusal.isEmpty() ? kNew : kOld);
        }
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System).filter("tarnwell"), QStringList());
#endif
    }

    void lastLook_data()
    {
        QTest::addColumn<Game>("game");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("the game leaves it alone") << Game::Nothing << kNew;
        QTest::newRow("the game writes into it meanwhile") << Game::InPlace << kGames;
        QTest::newRow("the game saves a new one over it meanwhile") << Game::Renamed << kGames;
        // Opened before the new content took its place, written into a moment after.
        QTest::newRow("the game writes into it as it is replaced") << Game::HeldOpen << kGames;
    }

    // The new content is complete on the disk before the file is looked at one last time: what the
    // game wrote while it was being written is never replaced, and the write says the file changed.
    void lastLook()
    {
        QFETCH(Game, game);
        QFETCH(QByteArray, after);
        QTemporaryDir tmp;
        const QString file = tmp.filePath("TKGRAPHICSSETTINGS.MXML");
        QVERIFY(writeFile(file, kOld));
        const FileBytes read = readWholeFile(file, kSettingsFileLimit);
#ifdef Q_OS_UNIX
        int holder = 0; // the process of the game, where one holds the file open
#endif
        if (game == Game::HeldOpen) {
#ifdef Q_OS_LINUX
            int ready[2];
            QVERIFY(::pipe(ready) == 0);
            const QByteArray path = QFile::encodeName(file);
            holder = ::fork();
            if (holder == 0) { // the game, in a process of its own
                const int fd = ::open(path.constData(), O_WRONLY);
                static_cast<void>(::write(ready[1], "r", 1));
                ::usleep(300000);
                static_cast<void>(::pwrite(fd, kGames.constData(), size_t(kGames.size()), 0));
                ::_exit(0);
            }
            char got = 0;
            QVERIFY(holder > 0 && ::read(ready[0], &got, 1) == 1);
            ::close(ready[0]);
            ::close(ready[1]);
#else
            QSKIP("only Linux says which files another process holds open");
#endif
        }
        bool played = false;
        const auto writing = [&](const ChunkSink &sink) {
            if (!sink(QByteArrayView(kNew).first(10)))
                return false;
            if (!std::exchange(played, true) && game == Game::InPlace) {
                QFile same(file);
                same.open(QIODevice::ReadWrite); // the same file, written where it stands
                same.write(kGames);
            } else if (game == Game::Renamed && played && QFile::exists(file) && readFile(file) == kOld) {
                [&] { QVERIFY(writeFile(file + ".new", kGames) && replaceFile(file + ".new", file)); }();
            }
            return sink(QByteArrayView(kNew).sliced(10));
        };
        WriteOptions options;
        options.expected = &read;
        const FileWrite written = writeAtomically(file, writing, options);
#ifdef Q_OS_UNIX
        if (holder > 0)
            QCOMPARE(int(::waitpid(holder, nullptr, 0)), holder);
#endif
        QCOMPARE(written.changed, game != Game::Nothing);
        QCOMPARE(readFile(file), after);
    }

    // Another program reading the file at the moment of the rename (Windows refuses to replace a file
    // open without shared deletion) holds the write back only until it lets go.
    void heldOpenByAReader()
    {
        QTemporaryDir tmp;
        const QString file = tmp.filePath("Installations.json");
        QVERIFY(writeFile(file, kOld));
        QFile reader(file);
        QVERIFY(reader.open(QIODevice::ReadOnly));
        int produced = 0;
        const FileWrite written = writeAtomically(file, [&](const ChunkSink &sink) {
            if (++produced == 2)
                reader.close(); // the reader is done by the second try
            return sink(kNew);
        });
        QVERIFY2(written.ok(), qPrintable(written.problem));
        reader.close();
        QCOMPARE(readFile(file), kNew);
    }

    // A temporary of the tool's own naming left by a write that was killed goes with the next write in
    // its folder, once a minute old and the user's own; anything else stays.
    void staleTemporaries()
    {
        QTemporaryDir tmp;
        const QString folder = tmp.path() + '/';
        QStringList names{".tarnwell-new-killed", ".tarnwell-new-fresh", ".tarnwell-other", "QVX.EXE"};
        for (const QString &name : names)
            QVERIFY(writeFile(folder + name, "x"));
        const QDateTime old = QDateTime::currentDateTime().addSecs(-120);
        for (const QString &name : {names[0], names[2], names[3]}) {
            QFile file(folder + name);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(old, QFileDevice::FileModificationTime));
        }
        QVERIFY(writeAtomically(folder + "Tarnwell.dat", bytes("QVXEXE=\r\n")).ok());
        names.removeFirst();
        names << "Tarnwell.dat";
        names.sort();
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name), names);
    }

    // One way to touch a file: outside src/files/, no code writes, renames, removes or makes a file or a
    // folder, or uses QSaveFile. What is looked for: QSaveFile and QTemporaryFile; QFile::remove, rename,
    // copy, link, moveToTrash and setPermissions; mkdir, mkpath, rmdir, rmpath and removeRecursively of
    // QDir; opening a QIODevice to write; the C library's remove, rename, unlink and truncate called
    // bare; the system's own calls to do any of that (unlink, rename, mkdir, link, symlink, truncate, O_WRONLY,
    // O_RDWR, O_CREAT, fopen, freopen, std::ofstream, std::filesystem, DeleteFile, MoveFile, CopyFile,
    // GENERIC_WRITE). Left aside: the build's own picture renderer (src/tools/), and the console that
    // the command line writes to on Windows (a device, no file).
    void writesOnlyThroughTheFileLayer()
    {
        const QString sources = TARNWELL_SOURCE_DIR "/src";
        if (!QFileInfo(sources).isDir())
            QSKIP("the sources are not where the build left them");
        static const QRegularExpression touches(
            R"(QSaveFile|QTemporaryFile|QFile::(remove|rename|copy|link|moveToTrash|setPermissions)\(|)"
            R"(\.(removeRecursively|rmdir|rmpath|mkpath|mkdir|moveToTrash|setPermissions)\(|)"
            R"(QIODevice(Base)?::(WriteOnly|ReadWrite|Append|Truncate)|)"
            R"((?<![\w:])::(unlink|unlinkat|remove|rename|renameat2?|mkdir|mkdirat|rmdir|link|linkat|symlink|truncate)\(|)"
            R"((?<![\w.:>~])(remove|rename|unlink|truncate)\(|)"
            R"(\bO_(WRONLY|RDWR|CREAT|TRUNC)\b|\b(fopen|freopen)\(|std::ofstream|std::filesystem::|)"
            R"(\b(DeleteFile|MoveFile|CopyFile)[AW]?\(|GENERIC_WRITE)");
        const QStringList allowed{"/src/app/cliconsole_win.cpp"};
        QStringList found;
        for (QDirIterator it(sources, {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = it.next(), relative = path.mid(QString(TARNWELL_SOURCE_DIR).size());
            if (relative.startsWith("/src/files/") || relative.startsWith("/src/tools/") || allowed.contains(relative))
                continue;
            const QList<QByteArray> lines = readFile(path).split('\n');
            for (qsizetype n = 0; n < lines.size(); ++n) {
                const QString line = QString::fromUtf8(lines[n]).section("//", 0, 0);
                if (line.contains(touches))
                    found << QString("%1:%2: %3").arg(relative).arg(n + 1).arg(line.trimmed());
            }
        }
        QVERIFY2(found.isEmpty(), qPrintable(found.join('\n')));
    }

    void handedOver_data()
    {
        QTest::addColumn<Before>("before");
        QTest::addColumn<bool>("delivered");
        QTest::newRow("owner lives") << Before::Nothing << true;
        QTest::newRow("owner destroyed meanwhile") << Before::OwnerGone << false;
        QTest::newRow("job cancelled meanwhile") << Before::Cancelled << false;
    }

    void handedOver()
    {
        QFETCH(Before, before);
        QFETCH(bool, delivered);
        auto owner = std::make_unique<QObject>();
        QSemaphore go;
        Qt::HANDLE workedOn = nullptr, deliveredOn = nullptr;
        int result = 0;
        bool called = false;
        const JobHandle job = runBeside<int>(
            owner.get(),
            [&](Job &) {
                go.acquire();
                workedOn = QThread::currentThreadId();
                return 42;
            },
            [&](int value) {
                called = true;
                result = value;
                deliveredOn = QThread::currentThreadId();
            });
        if (before == Before::OwnerGone)
            owner.reset();
        if (before == Before::Cancelled)
            job->cancel();
        go.release();
        QTRY_VERIFY(!job->running());
        QTRY_COMPARE(backgroundTasks(), 0);
        QCoreApplication::processEvents(); // a result posted last is delivered now, or never
        QCOMPARE(called, delivered);
        if (delivered) {
            QCOMPARE(result, 42);
            QCOMPARE(deliveredOn, QThread::currentThreadId());
            QVERIFY(workedOn != QThread::currentThreadId());
        }
    }

    void progress()
    {
        QObject owner;
        QSemaphore step, stepped;
        const JobHandle job = runBeside(&owner, [&](Job &job) {
            for (qint64 done : {0, 250, 1000}) {
                step.acquire();
                job.setProgress(done, 1000);
                stepped.release();
            }
        }, {});
        QCOMPARE(job->percent(), 0); // nothing known yet
        for (int expected : {0, 25, 100}) {
            step.release();
            stepped.acquire();
            QCOMPARE(job->percent(), expected);
        }
        QTRY_VERIFY(!job->running()); // the task still uses this frame's semaphores
    }

    // Tasks blocked for good (a stalled network share, given up) never hold back new ones: more than
    // the pool's usual 32 of them, and the next task still runs and hands its result over.
    void blockedTasksLeaveRoom()
    {
        QObject owner;
        // Shared with the tasks: they may still be leaving acquire() once this test has returned.
        struct Gates { QSemaphore blocker, started; };
        const auto gates = std::make_shared<Gates>();
        const auto releaseAll = qScopeGuard([gates] { gates->blocker.release(100); });
        QList<JobHandle> blocked;
        for (int i = 0; i < 100; ++i) {
            blocked << runBeside(&owner, [gates](Job &) {
                gates->started.release();
                gates->blocker.acquire();
            }, {});
        }
        QTRY_COMPARE(gates->started.available(), 100);
        bool done = false;
        const JobHandle next = runBeside<int>(&owner, [](Job &) { return 7; }, [&](int seven) { done = seven == 7; });
        QTRY_VERIFY(done);
        gates->blocker.release(100);
        QTRY_VERIFY(std::none_of(blocked.cbegin(), blocked.cend(), [](const JobHandle &job) { return job->running(); }));
    }

    // The end of the program waits for a blocked task only as long as it was told, and gives up the
    // others' results.
    void endsWithoutWaitingForever()
    {
        QObject owner;
        QSemaphore never, release, started;
        bool lateCalled = false;
        const JobHandle blocked = runBeside(&owner, [&](Job &) {
            started.release();
            never.tryAcquire(1, 60000);
        }, {});
        const JobHandle late = runBeside(&owner, [&](Job &) {
            started.release();
            release.acquire();
        }, [&] { lateCalled = true; });
        started.acquire(2);
        QVERIFY(!endBackgroundWork(200));
        QVERIFY(blocked->cancelled() && late->cancelled());
        release.release();
        QTRY_VERIFY(!late->running());
        QCoreApplication::processEvents();
        QVERIFY(!lateCalled);
        never.release(); // let the test's own thread go
        QTRY_VERIFY(!blocked->running());
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
