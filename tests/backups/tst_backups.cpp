// SPDX-License-Identifier: MIT
// Copies kept before every write and delete of a settings file, the newest 20 per file, and
// putting one back, through the window on real files.
#include "common/testsupport.h"
#include "platform/desktopplatform.h"

#include "common/systemtest.h"
#include "files/backups.h"

#include <QAction>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace testsupport;

namespace {

const QByteArray kGraphics = "<Data>\n\t<Property name=\"Brightness\" value=\"120\" />\n</Data>\n";
// As the tool writes it, so that Apply leaves it alone.
const QByteArray kUser = "<Data>\n <Property name=\"MusicVolume\" value=\"50\" />\n</Data>\n\r\n";

QByteArray written(const char *brightness)
{
    return "<Data>\n <Property name=\"Brightness\" value=\"" + QByteArray(brightness) + "\" />\n</Data>\n\r\n";
}

// What stands in the way of the copies: a file at the tool's folder, a backups folder open to all or
// another user's, links planted at the next copies' names, a copy swapped for a link.
enum class Attack { File, OpenToAll, GroupOnly, Owner, Names, Link, StoreLink, ToolLink, HomeLink };

} // namespace

class TestBackups : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWindow> m_w;

    QString game() const { return m_w->dir.filePath("Game/"); }
    QString graphics() const { return game() + "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML"; }
    QString backups() const { return m_w->platform.backupFolder(); }
    QStringList kept(const char *file) const
    {
        return QDir(backups()).entryList({QString("* ") + file}, QDir::Files, QDir::Name);
    }
    // Dangling links at the names the next copies of the graphics file get within `ms` milliseconds,
    // all pointing at one file that must never appear; returns it.
    QString plantLinks(int ms) const
    {
        const QString target = m_w->dir.filePath("stolen");
        QDir().mkpath(backups());
        const QDateTime now = QDateTime::currentDateTime();
        for (int at = 0; at < ms; ++at)
            QFile::link(target, backups() + now.addMSecs(at).toString("/'Game' yyyy-MM-dd HH.mm.ss.zzz "
                                                                      "'TKGRAPHICSSETTINGS.MXML'"));
        return target;
    }
    // Pressed where the user types, to show that the text box leaves the key to the window.
    // Restore... asks beside the window whether the game runs before it offers the copies.
    void pressRestore()
    {
        QTest::keyClick(m_w->form->text(1), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(!m_w->form->isBusy());
    }

private slots:
    void init()
    {
        m_w = std::make_unique<TestWindow>();
        QVERIFY(writeFile(graphics(), kGraphics));
        QVERIFY(writeFile(game() + "Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML", kUser));
        QVERIFY(m_w->start());
        m_w->loadGame(game());
        m_w->platform.messages.clear();
    }

    void cleanup() { m_w.reset(); }

    // Restore is offered without a new control: on the window's and Reload's menus and on a key.
    void restoreIsOffered()
    {
        auto *action = m_w->form->findChild<QAction *>("RestoreAction");
        QVERIFY(action);
        QCOMPARE(action->text(), "Restore...");
        QCOMPARE(action->shortcut().toString(), "Ctrl+Shift+R");
        for (QWidget *widget : {static_cast<QWidget *>(m_w->form.get()), static_cast<QWidget *>(m_w->form->command(3))}) {
            QCOMPARE(widget->contextMenuPolicy(), Qt::ActionsContextMenu);
            QVERIFY(widget->actions().contains(action));
        }
        pressRestore();
        QCOMPARE(m_w->platform.prompts(), QStringList{"There is no backup to restore yet. A copy of a settings file is "
                                                    "kept in\n" + nativePath(backups()) + "\neach time Apply replaces it or Del "
                                                    "All Settings deletes it."});
        // Windows: the local application data folder, for an installed copy and a portable one alike.
        qputenv("XDG_DATA_HOME", m_w->dir.filePath("data").toUtf8());
        QCOMPARE(DesktopPlatform().backupFolder(), (kWindows ? QDir::fromNativeSeparators(qEnvironmentVariable(
            "LOCALAPPDATA")) : m_w->dir.filePath("data")) + "/tarnwell/backups");
        // On a fresh account the data home is made on the way; the tool's folders are open to the user alone.
        const tarnwell::BackupResult copy = tarnwell::backUpBytes(DesktopPlatform().backupFolder(), graphics(), "x");
        QVERIFY2(copy.ok(), qPrintable(copy.problem));
        QCOMPARE(readFile(copy.file), "x");
#ifdef Q_OS_UNIX
        for (const char *folder : {"data/tarnwell", "data/tarnwell/backups"})
            QCOMPARE(QFileInfo(m_w->dir.filePath(folder)).permissions() & QFileDevice::Permissions(0x0077),
                     QFileDevice::Permissions());
#endif
    }

    // 21 Applies that each change the graphics file, the first the user file too: 20 copies of the one
    // stay, and the other's older copy, counted apart; the newest first in the list.
    void applyKeepsTheNewest20PerFile()
    {
        for (int apply = 1; apply <= 21; ++apply) {
            m_w->form->text(3)->setText(QString::number(100 + apply));
            m_w->form->text(11)->setText("40");
            QTest::mouseClick(m_w->form->command(1), Qt::LeftButton);
            QTRY_VERIFY(!m_w->form->isBusy());
        }
        QCOMPARE(m_w->platform.prompts(), QStringList(21, "Settings written to file!"));
        const QStringList copies = kept("TKGRAPHICSSETTINGS.MXML");
        QCOMPARE(copies.size(), 20);
        QCOMPARE(kept("GCUSERSETTINGSDATA.MXML").size(), 1); // replaced once, so copied once
        const QRegularExpression name("^Game \\d{4}-\\d\\d-\\d\\d \\d\\d\\.\\d\\d\\.\\d\\d\\.\\d{3} "
                                      "TKGRAPHICSSETTINGS\\.MXML$");
        for (const QString &copy : copies) {
            QVERIFY2(name.match(copy).hasMatch(), qPrintable(copy));
            QVERIFY(QFile::exists(backups() + '/' + copy + ".origin"));
        }
        // Before the 2nd Apply the file held 101; before the 21st, 120. The original is gone.
        QCOMPARE(readFile(backups() + '/' + copies.first()), written("101"));
        QCOMPARE(readFile(backups() + '/' + copies.last()), written("120"));

        pressRestore();
        QCOMPARE(m_w->platform.offered.size(), 1);
        QCOMPARE(m_w->platform.offered[0].size(), 21);
        const QString newest = m_w->platform.offered[0][0];
        QVERIFY2(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d   TKGRAPHICSSETTINGS.MXML   Game   "
                                    + QRegularExpression::escape(nativePath(graphics())) + '$').match(newest).hasMatch(),
                 qPrintable(newest));
        QCOMPARE(newest.left(19), copies.last().mid(5, 19).replace('.', ':').replace(10, 1, ' '));
    }

    // A write or a delete undone: the old bytes back, a copy of what they replace, the settings read again.
    void restore_data()
    {
        QTest::addColumn<bool>("apply"); // Apply with Brightness 200, else Del All Settings
        QTest::addColumn<int>("choice");
        QTest::addColumn<Platform::Answer>("answer");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<int>("copies");
        QTest::newRow("Apply undone") << true << 0 << Platform::Yes << kGraphics << 2;
        QTest::newRow("Apply, No") << true << 0 << Platform::No << written("200") << 1;
        QTest::newRow("Apply, nothing chosen") << true << -1 << Platform::Yes << written("200") << 1;
        QTest::newRow("Del All Settings undone") << false << 0 << Platform::Yes << kGraphics << 1;
    }

    void restore()
    {
        QFETCH(bool, apply);
        QFETCH(int, choice);
        QFETCH(Platform::Answer, answer);
        QFETCH(QByteArray, after);
        QFETCH(int, copies);
        m_w->platform.runForReal = true;
        if (!apply)
            m_w->platform.answers << Platform::Yes;
        m_w->form->text(3)->setText("200");
        QTest::mouseClick(m_w->form->command(apply ? 1 : 6), Qt::LeftButton);
        QTRY_COMPARE(m_w->platform.messages.size(), apply ? 1 : 2);
        QCOMPARE(readFile(graphics()), apply ? written("200") : "<unreadable>");
        // Deleted, the file's settings show no value of it any more, as a read that found it missing.
        QCOMPARE(m_w->form->text(3)->toolTip().contains("TKGRAPHICSSETTINGS.MXML was deleted. Start the game to make "
                                                        "it again"), !apply);
        QCOMPARE(m_w->form->text(3)->palette().color(QPalette::Text) == Qt::gray, !apply);
        m_w->platform.messages.clear();

        m_w->platform.choices << choice;
        m_w->platform.answers << answer;
        pressRestore();
        QCOMPARE(readFile(graphics()), after);
        QCOMPARE(kept("TKGRAPHICSSETTINGS.MXML").size(), copies);
        QCOMPARE(m_w->form->text(3)->text(), after == kGraphics ? "120" : "200"); // read again after a restore
        const QString time = m_w->platform.offered.value(0).value(0).left(19);
        QStringList expected; // nothing is asked when nothing was chosen
        if (choice >= 0)
            expected << "Put back TKGRAPHICSSETTINGS.MXML as it was on " + time + "?\n\n" + nativePath(graphics())
                            + (apply ? "\n\nWhat the file holds now is kept as a backup first"
                                     : "\n\nThe file is not there now: it is made again from the copy")
                            + "; then the settings are read again.";
        if (choice >= 0 && answer == Platform::Yes)
            expected << "Restored " + nativePath(graphics()) + " as it was on " + time + '.'
                    + (copies > 1 ? "\n\nWhat it held before is kept as\n"
                                        + nativePath(backups() + '/' + kept("TKGRAPHICSSETTINGS.MXML").last())
                                  : QString());
        QCOMPARE(m_w->platform.prompts(), expected);
        if (copies > 1)
            QCOMPARE(readFile(backups() + '/' + kept("TKGRAPHICSSETTINGS.MXML").last()), written("200"));
    }

    // Once Del All Settings deleted the graphics file, Apply leaves it to the game to make again and
    // writes the user file alone.
    void applyAfterDelete()
    {
        m_w->platform.runForReal = true;
        m_w->platform.answers << Platform::Yes;
        QTest::mouseClick(m_w->form->command(6), Qt::LeftButton);
        QTRY_COMPARE(m_w->platform.messages.size(), 2);
        m_w->platform.messages.clear();
        m_w->form->text(3)->setText("200"); // Brightness, of the graphics file
        m_w->form->text(11)->setText("60");  // MusicVolume, of the user file
        QTest::mouseClick(m_w->form->command(1), Qt::LeftButton);
        QTRY_COMPARE(m_w->platform.prompts(), QStringList{"Settings written to file!"});
        QVERIFY(!QFileInfo::exists(graphics()));
        QCOMPARE(readFile(game() + "Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML"),
                 "<Data>\n <Property name=\"MusicVolume\" value=\"60\" />\n</Data>\n\r\n");
    }

    // A game folder's name of 240 bytes still gives a copy, under a short name; its note keeps the whole path.
    void longGameFolder()
    {
        const QString game = m_w->dir.filePath(QString(240, 'G') + '/');
        const QString settings = game + "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML";
        QVERIFY(writeFile(settings, kGraphics));
        m_w->loadGame(game);
        m_w->form->text(3)->setText("200");
        QTest::mouseClick(m_w->form->command(1), Qt::LeftButton);
        QTRY_VERIFY(!m_w->form->isBusy());
        QCOMPARE(m_w->platform.prompts(), QStringList{"Settings written to file!"});
        QCOMPARE(readFile(settings), written("200"));
        const QStringList copies = kept("TKGRAPHICSSETTINGS.MXML");
        QCOMPARE(copies.size(), 1);
        QCOMPARE(copies[0].left(65), QString(64, 'G') + ' ');
        QCOMPARE(readFile(backups() + '/' + copies[0]), kGraphics);
        QVERIFY(readFile(backups() + '/' + copies[0] + ".origin").startsWith(settings.toUtf8() + '\n'));
    }

    // No copy, no write and no delete: the message names the file and the reason. A folder that others
    // can write is no place for copies, whatever links they planted in it.
    void noBackupStopsIt_data()
    {
        QTest::addColumn<int>("command"); // Command1 Apply, Command6 Del All Settings
        QTest::addColumn<Attack>("attack");
        QTest::addColumn<QString>("message");
        const QString apply = "Not every settings file was written.\n\n%1\nNo backup of it could be kept in %2. It "
            "was not written.\n\n%3GCUSERSETTINGSDATA.MXML\nIt already held these settings.";
        const QString file = kWindows ? "%4: it is a file, not a folder" : "%4: it is a symbolic link or a file, not a folder";
        QTest::newRow("Apply") << 1 << Attack::File << QString(apply).replace("%2", file);
        QTest::newRow("Del All Settings") << 6 << Attack::File << "%1\n\nNo backup of it could be kept in " + file
            + ". It was not deleted.";
        QTest::newRow("Apply, folder open to all") << 1 << Attack::OpenToAll << QString(apply).replace("%2", "%5: other "
            "users can write in it (mode 0777); it must be writable by its owner alone");
        QTest::newRow("Apply, folder its group can write") << 1 << Attack::GroupOnly << QString(apply).replace("%2", "%5: "
            "other users can write in it (mode 0770); it must be writable by its owner alone");
        QTest::newRow("Apply, backups folder a link") << 1 << Attack::StoreLink
            << QString(apply).replace("%2", "%5: it is a symbolic link or a file, not a folder");
        QTest::newRow("Apply, the tool's folder a link") << 1 << Attack::ToolLink << QString(apply).replace("%2", file);
        QTest::newRow("Apply, folder of another user, links planted") << 1 << Attack::Owner
            << QString(apply).replace("%2", "%5: it belongs to another user (user id 65534), not to the user running "
                                            "Tarnwell (0)");
        QTest::newRow("Apply as root, data home a link of another user") << 1 << Attack::HomeLink
            << QString(apply).replace("%2", "%6: a link of nobody (user id 65534) leads to it, and Tarnwell, running as "
                                            "root (user id 0), does not change a file there that another user could "
                                            "swap meanwhile; run Tarnwell as nobody (user id 65534) to change it");
    }

    void noBackupStopsIt()
    {
        QFETCH(int, command);
        QFETCH(Attack, attack);
        QFETCH(QString, message);
        QString target;
        const QString tool = m_w->platform.dataHome.filePath("tarnwell"), elsewhere = m_w->dir.filePath("elsewhere");
        if (attack == Attack::File) {
            QVERIFY(writeFile(tool, "a file where the folder should be"));
        } else if (attack == Attack::StoreLink || attack == Attack::ToolLink) { // to a folder of the user's own
            UNIX_ONLY("symbolic links to folders are Unix things here");
            QVERIFY(QDir().mkpath(elsewhere + "/backups") && (attack == Attack::ToolLink || QDir().mkpath(tool)));
            QVERIFY(QFile::link(attack == Attack::ToolLink ? elsewhere : elsewhere + "/backups",
                                attack == Attack::ToolLink ? tool : backups()));
        } else if (attack == Attack::HomeLink) { // to a folder of root's own that nobody else may write
#ifdef Q_OS_UNIX
            if (!isSuperuser())
                QSKIP("only the superuser can plant a link as another user");
            const QString home = m_w->platform.dataHome.path();
            QVERIFY(!QFileInfo::exists(tool) && QDir().rename(home, elsewhere) && QFile::link(elsewhere, home));
            QVERIFY(::lchown(QFile::encodeName(home).constData(), 65534, 65534) == 0);
#else
            QSKIP("owners of symbolic links are Unix things here");
#endif
        } else if (attack == Attack::GroupOnly) {
            UNIX_ONLY("folder modes are Unix things here");
            QVERIFY(QDir().mkpath(backups()));
            QVERIFY(QFile::setPermissions(backups(), QFileDevice::Permissions(0x7770)));
        } else {
#ifdef Q_OS_UNIX
            if (attack == Attack::Owner && !isSuperuser())
                QSKIP("only the superuser can give a folder to another user");
            target = plantLinks(3000);
            QVERIFY(QFile::setPermissions(backups(), QFileDevice::Permissions(0x7777)));
            QVERIFY(attack != Attack::Owner || ::chown(QFile::encodeName(backups()).constData(), 65534, 65534) == 0);
#else
            QSKIP("folder modes, owners and symbolic links are Unix things here");
#endif
        }
        m_w->platform.runForReal = true;
        m_w->platform.answers << Platform::Yes;
        m_w->form->text(3)->setText("200");
        message.replace("%1", nativePath(graphics())).replace("%5", nativePath(backups()))
            .replace("%3", nativePath(game() + "Binaries/SETTINGS/"))
            .replace("%4", nativePath(m_w->platform.dataHome.filePath("tarnwell")))
            .replace("%6", nativePath(m_w->platform.dataHome.path()));
        QTest::mouseClick(m_w->form->command(command), Qt::LeftButton);
        QTRY_COMPARE(m_w->platform.prompts().value(m_w->platform.prompts().size() - 1), message); // may come later
        QCOMPARE(readFile(graphics()), kGraphics);
        QCOMPARE(m_w->platform.commands.size(), 0);
        QVERIFY(target.isEmpty() || !QFileInfo::exists(target));
        QCOMPARE(QDir(elsewhere + "/backups").entryList(QDir::Files | QDir::Hidden), QStringList()); // nothing went there
        if (attack == Attack::HomeLink) { // root made nothing where the link led; the data home comes back
            QVERIFY(!QFileInfo::exists(elsewhere + "/tarnwell"));
            QVERIFY(QFile::remove(m_w->platform.dataHome.path()) && QDir().rename(elsewhere, m_w->platform.dataHome.path()));
        }
    }

    // The superuser restores a copy of a file that its user has since replaced by a link to a file only
    // root may read and write: nothing is written through the link, and the message says whose it is.
    void restoreThroughPlantedLink()
    {
        UNIX_ONLY("symbolic links and owners are Unix things here");
#ifdef Q_OS_UNIX
        if (!isSuperuser())
            QSKIP("only the superuser can plant a link as another user");
        m_w->form->text(3)->setText("200");
        QTest::mouseClick(m_w->form->command(1), Qt::LeftButton);
        QTRY_VERIFY(!m_w->form->isBusy());
        const QString secret = m_w->dir.filePath("root/cron");
        QVERIFY(writeFile(secret, "root's own"));
        QVERIFY(QFile::setPermissions(secret, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(QFile::setPermissions(m_w->dir.filePath("root"), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                                     | QFileDevice::ExeOwner));
        QVERIFY(QFile::remove(graphics()) && QFile::link(secret, graphics()));
        QCOMPARE(::lchown(QFile::encodeName(graphics()).constData(), 65534, 65534), 0);
        m_w->platform.messages.clear();
        m_w->platform.choices << 0;
        m_w->platform.answers << Platform::Yes;
        pressRestore();
        QCOMPARE(readFile(secret), "root's own");
        QCOMPARE(QFileInfo(secret).permissions() & 0x7077, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(QFileInfo(graphics()).isSymLink());
        const QString last = m_w->platform.prompts().value(m_w->platform.prompts().size() - 1);
        QVERIFY2(last.contains("it is a symbolic link") && last.contains("run Tarnwell as nobody (user id 65534)"),
                 qPrintable(last));
#endif
    }

    // Another window, or a clock gone back an hour, has a copy under the name the next one would take:
    // that copy is never written over; the new one takes a name of its own.
    void takenNames()
    {
        QVERIFY(QDir().mkpath(backups()));
        QVERIFY(QFile::setPermissions(backups(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        const QDateTime now = QDateTime::currentDateTime();
        for (int at = 0; at < 500; ++at)
            QVERIFY(writeFile(backups() + now.addMSecs(at).toString("/'Game' yyyy-MM-dd HH.mm.ss.zzz 'TKGRAPHICSSETTINGS.MXML'"),
                              "another window's copy"));
        m_w->form->text(3)->setText("200");
        QTest::mouseClick(m_w->form->command(1), Qt::LeftButton);
        QTRY_VERIFY(!m_w->form->isBusy());
        QCOMPARE(m_w->platform.prompts(), QStringList{"Settings written to file!"});
        QStringList theirs, ours;
        for (const QString &copy : kept("TKGRAPHICSSETTINGS.MXML"))
            (readFile(backups() + '/' + copy) == kGraphics ? ours : theirs) << copy;
        QCOMPARE(theirs.size(), 500);
        QCOMPARE(ours.size(), 1);
        QVERIFY(QFileInfo::exists(backups() + '/' + ours[0] + ".origin"));
    }

    // In a folder of the user's own, a planted link is never written through nor read back: a copy
    // goes to a name of its own, and a copy that is a link, or another user's, is not offered.
    void plantedLinks_data()
    {
        QTest::addColumn<Attack>("attack");
        QTest::newRow("links at the next copies' names") << Attack::Names;
        QTest::newRow("a copy replaced by a link to a secret") << Attack::Link;
        QTest::newRow("a copy of another user") << Attack::Owner;
    }

    void plantedLinks()
    {
#ifdef Q_OS_UNIX
        QFETCH(Attack, attack);
        if (attack == Attack::Owner && !isSuperuser())
            QSKIP("only the superuser can give a file to another user");
        const QString target = attack == Attack::Names ? plantLinks(500) : QString();
        m_w->form->text(3)->setText("200");
        QTest::mouseClick(m_w->form->command(1), Qt::LeftButton);
        QTRY_VERIFY(!m_w->form->isBusy());
        QCOMPARE(m_w->platform.prompts(), QStringList{"Settings written to file!"});
        const QStringList copies = kept("TKGRAPHICSSETTINGS.MXML");
        QVERIFY(target.isEmpty() || !QFileInfo::exists(target));
        const QString copy = backups() + '/' + copies.last();
        QCOMPARE(readFile(copy), kGraphics);
        QVERIFY(!QFileInfo(copy).isSymLink());
        if (attack == Attack::Link) {
            const QString secret = m_w->dir.filePath("secret");
            QVERIFY(writeFile(secret, "not for the settings file"));
            QVERIFY(QFile::setPermissions(secret, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
            QVERIFY(QFile::remove(copy) && QFile::link(secret, copy));
        }
        QVERIFY(attack != Attack::Owner || ::chown(QFile::encodeName(copy).constData(), 65534, 65534) == 0);
        m_w->platform.messages.clear();
        m_w->platform.choices << 0;
        m_w->platform.answers << Platform::Yes;
        pressRestore();
        QCOMPARE(m_w->platform.offered.value(0).size(), attack == Attack::Names ? 1 : 0);
        QCOMPARE(readFile(graphics()), attack == Attack::Names ? kGraphics : written("200"));
        if (attack == Attack::Link) { // swapped in after the list was made: still never read
            const tarnwell::RestoreResult result = tarnwell::restoreBackup(backups(), {copy, graphics(), {}, "Game"});
            QCOMPARE(result.problem, "The backup " + copy + " could not be read: it is a symbolic link. Nothing was "
                                     "changed.");
            QCOMPARE(readFile(graphics()), written("200"));
        }
#else
        QSKIP("symbolic links and owners are Unix things here");
#endif
    }
};

QTEST_MAIN(TestBackups)
#include "tst_backups.moc"
