// SPDX-License-Identifier: MIT
// Fixture of the settings tests: temporary game folders, the window, running as another user.
#include "tst_settings.h"

#include "common/fakeplatform.h"
#include "form1.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <sys/mount.h>
#include <unistd.h>

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

void TestSettings::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    // Another user may run the same test in here.
    QFile::setPermissions(m_dir->path(), QFileDevice::Permissions(0x7777));
    m_platform = new FakePlatform;
    m_platform->folder = m_dir->path();
}

void TestSettings::cleanup()
{
    delete m_form;
    m_form = nullptr;
    for (const QString &path : std::as_const(m_immutable))
        QProcess::execute("chattr", {"-ia", path});
    m_immutable.clear();
    if (!m_unmount.isEmpty())
        ::umount2(m_unmount.toLocal8Bit().constData(), MNT_DETACH);
    m_unmount.clear();
    delete m_platform;
    m_platform = nullptr;
    delete m_dir;
    m_dir = nullptr;
}

void TestSettings::writeGame(const QByteArray &graphics, const QByteArray &user)
{
    QVERIFY(QDir().mkpath(settingsFolder()));
    if (!graphics.isNull())
        writeFile(graphicsPath(), graphics);
    if (!user.isNull())
        writeFile(userPath(), user);
}

void TestSettings::startForm()
{
    m_form = new Form1(*m_platform);
    m_form->Form_Load();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    m_platform->messages.clear();
}

void TestSettings::loadGame()
{
    if (!m_form)
        startForm();
    m_form->GameFolder = gameFolder();
    m_form->ReadConfig();
}

QStringList TestSettings::prompts() const
{
    return m_platform->prompts();
}

bool TestSettings::rerunAsUser()
{
    if (::geteuid() != 0)
        return false;
    const QString setpriv = QStandardPaths::findExecutable("setpriv");
    if (setpriv.isEmpty()) {
        QTest::qSkip("needs setpriv to run as an unprivileged user", __FILE__, __LINE__);
        return true;
    }
    QString function = QTest::currentTestFunction();
    if (QTest::currentDataTag())
        function += QLatin1Char(':') + QString::fromUtf8(QTest::currentDataTag());
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(setpriv, {"--reuid=65534", "--regid=65534", "--clear-groups", QCoreApplication::applicationFilePath(),
                          function});
    const bool finished = child.waitForFinished(120000);
    const QByteArray output = child.readAll();
    [&] {
        QVERIFY2(finished, output.constData());
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
        QVERIFY2(!output.contains("SKIP"), output.constData());
    }();
    return true;
}

QTEST_MAIN(TestSettings)
