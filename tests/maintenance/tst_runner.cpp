// SPDX-License-Identifier: MIT
// The real command runner on real folders: it deletes exactly what a command names, starts
// programs in their own folder, and no character of a path ever becomes a command of its own.
#include "maintenance/command.h"
#include "maintenance/filedeletion.h"
#include "platform/desktopplatform.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tarnwell;

class TestRunner : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void deleteAllFiles_data();
    void deleteAllFiles();
    void deleteOneFile_data();
    void deleteOneFile();
    void startProgram_data();
    void startProgram();

private:
    void write(const QString &path);
    QStringList tree() const;
    void verifyNothingRan() const;

    QTemporaryDir *m_dir = nullptr;
};

namespace {

// Folder and file names that a shell would have read as more than a name.
// With `bothWays`, each name comes once for the core call and once through DesktopPlatform's runner.
void addHostileNames(bool bothWays)
{
    QTest::addColumn<QString>("name");
    if (bothWays)
        QTest::addColumn<bool>("viaRunner");
    const QList<QPair<const char *, QString>> names = {
        {"plain", "cache"},
        {"blanks", "shader cache  folder"},
        {"quotes", "it's \"quoted\""},
        {"ampersand and percent", "a & b %PATH% 100%"},
        {"semicolon and caret", "x; touch pwned ^ y"},
        {"dollar and backquotes", "$(touch pwned) `touch pwned` $HOME"},
    };
    for (const auto &[tag, name] : names) {
        if (!bothWays) {
            QTest::addRow("%s", tag) << name;
            continue;
        }
        QTest::addRow("%s, core", tag) << name << false;
        QTest::addRow("%s, runner", tag) << name << true;
    }
}

} // namespace

void TestRunner::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
}

void TestRunner::cleanup()
{
    verifyNothingRan();
    delete m_dir;
}

void TestRunner::write(const QString &path)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("data");
}

QStringList TestRunner::tree() const
{
    QStringList entries;
    QDirIterator it(m_dir->path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << it.next().mid(m_dir->path().size() + 1);
    entries.sort();
    return entries;
}

// `touch pwned` run by any shell would leave a file of that name in its working folder.
void TestRunner::verifyNothingRan() const
{
    for (const QString &entry : tree())
        QVERIFY2(QFileInfo(entry).fileName() != "pwned", qPrintable(entry));
    QVERIFY(!QFileInfo::exists(QDir::current().filePath("pwned")));
    QVERIFY(!QFileInfo::exists(QDir::home().filePath("pwned")));
}

void TestRunner::deleteAllFiles_data()
{
    addHostileNames(true);
}

void TestRunner::deleteAllFiles()
{
    QFETCH(QString, name);
    QFETCH(bool, viaRunner);
    const QString folder = m_dir->filePath(name);
    for (const QString &file : {name, QString("a.bin"), QString("b c.txt"), QString(".hidden"),
                                QString("$(touch pwned)"), QString("x & del *")})
        write(folder + '/' + file);
    write(folder + "/SUB/kept.bin");
    write(folder + "/SUB/deeper/kept.bin");
    write(m_dir->filePath("outside/kept.bin"));
    write(m_dir->filePath(name + " neighbour/kept.bin"));
    write(folder + " neighbour.bin");
    QVERIFY(QFile::link(m_dir->filePath("outside"), folder + "/linked folder"));
    QVERIFY(QFile::link(m_dir->filePath("outside/kept.bin"), folder + "/linked file"));
    const QStringList kept = {name, name + "/SUB", name + "/SUB/deeper", name + "/SUB/deeper/kept.bin",
                              name + "/SUB/kept.bin", name + "/linked folder",
                              name + " neighbour", name + " neighbour.bin", name + " neighbour/kept.bin",
                              "outside", "outside/kept.bin"};
    QStringList sorted = kept;
    sorted.sort();

    if (viaRunner) {
        DesktopPlatform().runCommand(deleteAllFilesCommand(folder));
        QTRY_COMPARE(tree(), sorted);
    } else {
        const DeleteResult result = deleteAllFilesIn(folder);
        QCOMPARE(result.deleted, 7);
        QVERIFY(result.ok());
        QCOMPARE(tree(), sorted);
    }
}

void TestRunner::deleteOneFile_data()
{
    addHostileNames(true);
}

void TestRunner::deleteOneFile()
{
    QFETCH(QString, name);
    QFETCH(bool, viaRunner);
    const QString folder = m_dir->filePath(name + "/SETTINGS");
    const QString target = folder + '/' + name + ".MXML";
    write(target);
    write(folder + "/GCUSERSETTINGSDATA.MXML");
    write(folder + '/' + name); // the same name without its extension
    write(m_dir->filePath(name + ".MXML"));
    QStringList kept = tree();
    kept.removeOne(name + "/SETTINGS/" + name + ".MXML");

    const Command command = deleteFileCommand(target);
    QCOMPARE(command.line, "cmd.exe /c del \"" + target + '"');
    if (viaRunner) {
        DesktopPlatform().runCommand(command);
        QTRY_COMPARE(tree(), kept);
    } else {
        QCOMPARE(deleteFile(target).deleted, 1);
        QCOMPARE(tree(), kept);
        // A folder is never "a file", and a missing file is a failure the caller can see.
        QVERIFY(!deleteFile(folder).ok());
        QVERIFY(!deleteFile(target).ok());
        QVERIFY(!deleteAllFilesIn(target).ok());
        QCOMPARE(tree(), kept);
    }
}

void TestRunner::startProgram_data()
{
    addHostileNames(false);
}

void TestRunner::startProgram()
{
    QFETCH(QString, name);
    const QString folder = m_dir->filePath(name + "/Binaries");
    const QString program = folder + "/QVX " + name + ".sh";
    QVERIFY(QDir().mkpath(folder));
    QFile script(program);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\npwd > started.txt\n");
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    DesktopPlatform().runCommand(launchCommand(program));
    // The program ran in its own folder: that is where it left its note.
    const auto note = [&] {
        QFile file(folder + "/started.txt");
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
    };
    QTRY_VERIFY(!note().isEmpty());
    QCOMPARE(QFileInfo(note()).canonicalFilePath(), QFileInfo(folder).canonicalFilePath());
}

QTEST_MAIN(TestRunner)
#include "tst_runner.moc"
