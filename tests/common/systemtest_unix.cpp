// SPDX-License-Identifier: MIT
#include "common/systemtest.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include <sys/mount.h>
#include <unistd.h>

namespace testsupport {

bool isSuperuser()
{
    return ::geteuid() == 0;
}

bool mountSmallFileSystem(const QString &folder, const char *size)
{
    return ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, (QByteArray("size=") + size).constData()) == 0;
}

void unmount(const QString &folder)
{
    ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
}

bool rerunAsUser()
{
    if (!isSuperuser())
        return false;
    const QString tag = QTest::currentDataTag() ? ':' + QString::fromUtf8(QTest::currentDataTag()) : QString();
    // The unprivileged child must reach its own binary, and the build folder may lie in a private home.
    QTemporaryDir place;
    const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::ExeOther;
    const QString copy = place.filePath(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    const bool placed = QFile::setPermissions(place.path(), open)
        && QFile::copy(QCoreApplication::applicationFilePath(), copy) && QFile::setPermissions(copy, open);
    [&] { QVERIFY2(placed, qPrintable(copy)); }();
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.setWorkingDirectory(place.path());
    child.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", copy, QTest::currentTestFunction() + tag});
    const bool passed = child.waitForFinished(120000) && child.exitStatus() == QProcess::NormalExit;
    const QByteArray output = child.readAll();
    [&] { QVERIFY2(passed && !child.exitCode() && !output.contains("SKIP"), qPrintable(output)); }();
    return true;
}

QString shortName(const QString &path)
{
    return path;
}

bool markHidden(const QString &, bool)
{
    return true;
}

bool replaceFile(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

} // namespace testsupport
