// SPDX-License-Identifier: MIT
// A network share that has stalled, mounted where the picker and the search look: the window still
// comes at once, answers clicks, lists what the search found before the share, and the program ends
// right after Quit, whatever its workers wait for.
// The share is a FUSE file system whose every operation waits a minute, mounted in a mount namespace
// of the test's own, where the window runs in a child process.
#include "common/testsupport.h"

#include "files/background.h"

#include <QElapsedTimer>
#include <QProcess>

#include <cstdio>
#include <spawn.h>

extern char **environ;

using namespace testsupport;

namespace {

const char kHomeVariable[] = "TARNWELL_STALLED_HOME";

bool mounted(const QString &folder)
{
    const QByteArray table = readFile(QStringLiteral("/proc/self/mountinfo"));
    return table.contains(' ' + QFile::encodeName(folder) + ' ');
}

void say(const QByteArray &line)
{
    std::printf("%s\n", line.constData());
    std::fflush(stdout);
}

// A share for each place: the home folder the picker opens, and ~/Games, which the search reads.
QStringList stalledFolders(const QString &home)
{
    return {home + QStringLiteral("/Stalled"), home + QStringLiteral("/Games/Stalled")};
}

} // namespace

class TestHungDisk : public QObject
{
    Q_OBJECT

private slots:
    void stalledShare()
    {
        if (qEnvironmentVariableIsSet(kHomeVariable)) {
            inNamespace();
            return;
        }
#ifndef TARNWELL_STALLDISK
        QSKIP("the stalling file system was not built: libfuse3-dev is missing");
#else
        if (!QFileInfo::exists(QStringLiteral("/dev/fuse")))
            QSKIP("there is no /dev/fuse here");
        // A mount namespace of its own needs the superuser, or user namespaces where they are allowed.
        QProcess probe;
        probe.start(QStringLiteral("unshare"), {QStringLiteral("--mount"), QStringLiteral("true")});
        if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
            QSKIP(qPrintable(QStringLiteral("no mount namespace can be made here: %1")
                                 .arg(QString::fromLocal8Bit(probe.readAllStandardError()).trimmed())));
        QTemporaryDir tmp;
        const QString home = tmp.filePath("home"), program = tmp.filePath("program");
        for (const QString &folder : stalledFolders(home))
            QVERIFY(QDir().mkpath(folder));
        QVERIFY(makeProgramFolder(program)); // a first start: the search begins at once
        // A Steam copy, found before the search reaches ~/Games and the share stalled there.
        const QString steamapps = home + "/.steam/steam/steamapps";
        QVERIFY(writeFile(steamapps + "/appmanifest_4711.acf", "\"AppState\" { \"installdir\" \"Quillvane\" }"));
        QVERIFY(writeFile(steamapps + "/common/Quillvane/Binaries/QVX.EXE", "MZ"));

        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kHomeVariable), home);
        environment.insert(QStringLiteral("TARNWELL_STALLED_PROGRAM"), program);
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // The leak check at exit would stop every thread, and a thread waiting on FUSE does not stop.
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        qint64 quitAt = -1;
        QStringList lines;
        connect(&child, &QProcess::readyReadStandardOutput, &child, [&] {
            while (child.canReadLine()) {
                const QString line = QString::fromUtf8(child.readLine()).trimmed();
                lines << line;
                if (line == QLatin1String("quit"))
                    quitAt = clock.elapsed();
            }
        });
        clock.start();
        child.start(QStringLiteral("unshare"), {QStringLiteral("--mount"), QStringLiteral("--propagation"),
                                                QStringLiteral("private"), QCoreApplication::applicationFilePath(),
                                                QStringLiteral("stalledShare")});
        QVERIFY(child.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(child.state() == QProcess::NotRunning, 120000);
        const qint64 endedAt = clock.elapsed();
        const QStringList skipped = lines.filter(QStringLiteral("SKIP "));
        if (!skipped.isEmpty())
            QSKIP(qPrintable(skipped.first().mid(5)));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, qPrintable(lines.join('\n')));
        const QStringList shown = lines.filter(QStringLiteral("window shown after "));
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().section(' ', 3, 3).toInt() <= 2000, qPrintable(shown.first()));
        QVERIFY(quitAt >= 0);
        const QString ended = QStringLiteral("ended %1 ms after Quit").arg(endedAt - quitAt);
        QVERIFY2(endedAt - quitAt <= 1000, qPrintable(ended));
        qInfo("%s, %s", qPrintable(shown.first()), qPrintable(ended)); // the figures, for a reader of the log
#endif
    }

private:
    // In the child: mounts the stalled shares, then opens, clicks and quits the window.
    void inNamespace()
    {
        const QString home = qEnvironmentVariable(kHomeVariable);
        for (const QString &folder : stalledFolders(home)) {
            QByteArray program = TARNWELL_STALLDISK, mountPoint = QFile::encodeName(folder);
            char *argv[] = {program.data(), mountPoint.data(), nullptr};
            pid_t pid = 0;
            if (::posix_spawn(&pid, program.constData(), nullptr, nullptr, argv, environ) != 0) {
                say("SKIP the stalling file system could not be started");
                return;
            }
            if (!QTest::qWaitFor([&] { return mounted(folder); }, 10000)) {
                say("SKIP FUSE could not mount in a mount namespace here");
                return;
            }
        }
        FakePlatform platform(qEnvironmentVariable("TARNWELL_STALLED_PROGRAM"));
        platform.homePath = home;
        QElapsedTimer clock;
        clock.start();
        auto form = std::make_unique<Form1>(platform);
        QVERIFY(start(*form));
        say("window shown after " + QByteArray::number(clock.elapsed()) + " ms");
        // Both shares were reached: one is among the drives, the search still waits for the other.
        QVERIFY(form->Drive1->findData(nativePath(stalledFolders(home).first() + '/')) >= 0);
        QVERIFY(form->isSearching());
        QTest::mouseClick(form->label(22), Qt::LeftButton);
        QCOMPARE(platform.clipboard, form->label(22)->text());
        // The search is given up once past its bound, and what it found before the share is listed.
        QTRY_VERIFY_WITH_TIMEOUT(!form->isSearching(), 20000);
        QVERIFY(form->Drive1->findText("Steam: Quillvane") >= 0);
        QVERIFY2(form->Drive1->toolTip().contains("(a folder did not answer within 12 seconds)"),
                 qPrintable(form->Drive1->toolTip()));
        say("quit");
        QTest::mouseClick(form->command(4), Qt::LeftButton);
        QVERIFY(form->isClosed());
        QVERIFY(!tarnwell::endBackgroundWork(200)); // as the program does at its end: some wait on
    }
};

QTEST_MAIN(TestHungDisk)
#include "tst_hungdisk.moc"
