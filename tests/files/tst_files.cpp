// SPDX-License-Identifier: MIT
// The one way to run work beside the window: results on the owner's thread, only while it lives and
// wants them, and an end of the program that never waits without a bound.
#include "files/background.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QTest>
#include <QThread>

using namespace tarnwell;

namespace {

// What happens to the owner, or to the job, before the task has ended.
enum class Before { Nothing, OwnerGone, Cancelled };

} // namespace

class TestFiles : public QObject
{
    Q_OBJECT

private slots:
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
