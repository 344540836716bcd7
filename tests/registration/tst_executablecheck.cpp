// SPDX-License-Identifier: MIT
// The executable check without a window: what a choice given up goes back to, and a superseded check.
#include "common/testfiles.h"
#include "registration/executablecheck.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;
using Check = tarnwell::ExecutableCheck;

Q_DECLARE_METATYPE(Check::Origin)

class TestExecutableCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(writeFile(m_dir.filePath(QStringLiteral("small.exe")), "abc"));
        // Large enough that a cancel right after the start stops it half-way.
        QFile big(m_dir.filePath(QStringLiteral("big.exe")));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(256LL * 1024 * 1024));
    }

    void beginAndFinish_data()
    {
        QTest::addColumn<QString>("first");        // started while the window shows "A"
        QTest::addColumn<QString>("second");       // started while it shows "B"; empty: none
        QTest::addColumn<Check::Origin>("origin"); // of the second check, or of the first alone
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("digest");       // empty: cancelled
        QTest::addColumn<QString>("beforeExe");
        QTest::addColumn<QString>("beforeStatus");
        QTest::addColumn<bool>("recheck");
        const auto registered = Check::Origin::Registered, picker = Check::Origin::Picker;
        QTest::newRow("registered, checked") << "small.exe" << "" << registered << false
                                             << "900150983CD24FB0D6963F7D28E17F72" << "A.exe" << "A" << false;
        QTest::newRow("picker, given up") << "big.exe" << "" << picker << true << "" << "A.exe" << "A" << false;
        // A choice interrupting the registered one's check goes back to that one, with the status
        // shown before either began, and has it checked again.
        QTest::newRow("picker supersedes, given up") << "big.exe" << "big.exe" << picker << true << ""
                                                     << "B.exe" << "A" << true;
        QTest::newRow("picker supersedes, checked") << "big.exe" << "small.exe" << picker << false
                                                    << "900150983CD24FB0D6963F7D28E17F72" << "B.exe" << "A" << true;
        QTest::newRow("registered supersedes") << "big.exe" << "small.exe" << registered << false
                                               << "900150983CD24FB0D6963F7D28E17F72" << "A.exe" << "A" << false;
    }

    void beginAndFinish()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(Check::Origin, origin);
        QFETCH(bool, cancel);
        Check::Snapshot shown{QStringLiteral("A.exe"), QStringLiteral("A"), 8100};
        Check check([&shown] { return shown; });
        QSignalSpy finished(&check, &Check::finished);

        check.begin(m_dir.filePath(first), second.isEmpty() ? origin : Check::Origin::Registered);
        if (!second.isEmpty()) {
            shown = {QStringLiteral("B.exe"), QStringLiteral("B"), 8000};
            check.begin(m_dir.filePath(second), origin);
        }
        QVERIFY(check.isRunning());
        if (cancel)
            check.cancel();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000); // a check given up ends at once
        QVERIFY(!check.isRunning());
        // The superseded check is gone for good: it reports nothing.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(finished.count(), 1);

        const auto result = finished.first().first().value<Check::Result>();
        QTEST(result.digest.hex, "digest");
        QCOMPARE(result.digest.cancelled, cancel);
        QCOMPARE(result.origin, origin);
        QTEST(result.before.exePath, "beforeExe");
        QTEST(result.before.status, "beforeStatus");
        QCOMPARE(result.before.widthTwips, 8100);
        QTEST(result.recheck, "recheck");
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestExecutableCheck)
#include "tst_executablecheck.moc"
