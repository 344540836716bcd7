// SPDX-License-Identifier: MIT
// Copies kept before every write and delete of a settings file, the newest 20 per file, and
// putting one back, through the window on real files.
#include "common/fakeplatform.h"
#include "form1.h"
#include "platform/desktopplatform.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <memory>

namespace {

const QByteArray kGraphics = "<Data>\n\t<Property name=\"Brightness\" value=\"120\" />\n</Data>\n";
// As the tool writes it, so that Apply leaves it alone.
const QByteArray kUser = "<Data>\n <Property name=\"MusicVolume\" value=\"50\" />\n</Data>\n\r\n";

QByteArray written(const char *brightness)
{
    return "<Data>\n <Property name=\"Brightness\" value=\"" + QByteArray(brightness) + "\" />\n</Data>\n\r\n";
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "<none>";
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

} // namespace

class TestBackups : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<Form1> m_form;

    QString game() const { return m_dir->filePath("Game/"); }
    QString graphics() const { return game() + "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML"; }
    QString backups() const { return m_platform->backupFolder(); }
    QStringList kept(const char *file) const
    {
        return QDir(backups()).entryList({QString("* ") + file}, QDir::Files, QDir::Name);
    }
    void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center()); }
    // Pressed where the user types, to show that the text box leaves the key to the window.
    void pressRestore() { QTest::keyClick(m_form->text(1), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_platform = std::make_unique<FakePlatform>();
        m_platform->folder = m_dir->path();
        writeFile(graphics(), kGraphics);
        writeFile(game() + "Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML", kUser);
        m_form = std::make_unique<Form1>(*m_platform);
        m_form->Form_Load();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        m_form->GameExePath = game() + "Binaries/QVX.EXE";
        m_form->GameFolder = game();
        m_form->ReadConfig();
        m_platform->messages.clear();
    }

    void cleanup()
    {
        m_form.reset();
        m_platform.reset();
        m_dir.reset();
    }

    // Restore is offered without a new control: on the window's and Reload's menus and on a key.
    void restoreIsOffered()
    {
        auto *action = m_form->findChild<QAction *>("RestoreAction");
        QVERIFY(action);
        QCOMPARE(action->text(), "Restore...");
        QCOMPARE(action->shortcut().toString(), "Ctrl+Shift+R");
        for (QWidget *widget : {static_cast<QWidget *>(m_form.get()), static_cast<QWidget *>(m_form->command(3))}) {
            QCOMPARE(widget->contextMenuPolicy(), Qt::ActionsContextMenu);
            QVERIFY(widget->actions().contains(action));
        }
        pressRestore();
        QCOMPARE(m_platform->prompts(), QStringList{"There is no backup to restore yet. A copy of a settings file is "
                                                    "kept in\n" + backups() + "\neach time Apply replaces it or Del "
                                                    "All Settings deletes it."});
        qputenv("XDG_DATA_HOME", m_dir->filePath("data").toUtf8());
        QCOMPARE(DesktopPlatform().backupFolder(), m_dir->filePath("data/tarnwell/backups"));
    }

    // 21 Applies that each change the graphics file: 20 copies of it stay, the newest first in the list.
    void applyKeepsTheNewest20()
    {
        for (int apply = 1; apply <= 21; ++apply) {
            m_form->text(3)->setText(QString::number(100 + apply));
            click(m_form->command(1));
        }
        QCOMPARE(m_platform->prompts(), QStringList(21, "Settings written to file!"));
        const QStringList copies = kept("TKGRAPHICSSETTINGS.MXML");
        QCOMPARE(copies.size(), 20);
        QCOMPARE(kept("GCUSERSETTINGSDATA.MXML").size(), 0); // never replaced, so never copied
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
        QCOMPARE(m_platform->offered.size(), 1);
        QCOMPARE(m_platform->offered[0].size(), 20);
        const QString newest = m_platform->offered[0][0];
        QVERIFY2(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d   TKGRAPHICSSETTINGS.MXML   Game   "
                                    + QRegularExpression::escape(graphics()) + '$').match(newest).hasMatch(),
                 qPrintable(newest));
        QCOMPARE(newest.left(19), copies.last().mid(5, 19).replace('.', ':').replace(10, 1, ' '));
    }

    // A write or a delete undone: the old bytes back, a copy of what they replace, the settings read again.
    void restore_data()
    {
        QTest::addColumn<QString>("control"); // Apply with Brightness 200, or Del All Settings
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<int>("copies");
        QTest::newRow("Apply undone") << "Command1" << 0 << int(Platform::Yes) << kGraphics << 2;
        QTest::newRow("Apply, No") << "Command1" << 0 << int(Platform::No) << written("200") << 1;
        QTest::newRow("Apply, nothing chosen") << "Command1" << -1 << int(Platform::Yes) << written("200") << 1;
        QTest::newRow("Del All Settings undone") << "Command6" << 0 << int(Platform::Yes) << kGraphics << 1;
    }

    void restore()
    {
        QFETCH(QString, control);
        QFETCH(int, choice);
        QFETCH(int, answer);
        QFETCH(QByteArray, after);
        QFETCH(int, copies);
        const bool apply = control == "Command1";
        m_platform->runForReal = true;
        m_platform->answers << (apply ? QList<int>() : QList<int>{Platform::Yes});
        m_form->text(3)->setText("200");
        click(m_form->findChild<QWidget *>(control));
        QTRY_COMPARE(m_platform->messages.size(), apply ? 1 : 2);
        QCOMPARE(readFile(graphics()), apply ? written("200") : "<none>");
        m_platform->messages.clear();

        m_platform->choices << choice;
        m_platform->answers << answer;
        pressRestore();
        QCOMPARE(readFile(graphics()), after);
        QCOMPARE(kept("TKGRAPHICSSETTINGS.MXML").size(), copies);
        QCOMPARE(m_form->text(3)->text(), after == kGraphics ? "120" : "200"); // read again after a restore
        if (choice < 0) {
            QCOMPARE(m_platform->prompts(), QStringList());
            return;
        }
        const QString time = m_platform->offered[0][0].left(19);
        QStringList expected{"Put back TKGRAPHICSSETTINGS.MXML as it was on " + time + "?\n\n" + graphics()
                             + "\n\nWhat the file holds now is kept as a backup first; then the settings are read "
                               "again."
                             + (apply ? "" : "\n\nSettings changed in the window but not applied are replaced by what is "
                                             "read.")};
        if (answer == Platform::Yes)
            expected << "Restored " + graphics() + " as it was on " + time + '.'
                    + (copies > 1 ? "\n\nWhat it held before is kept as\n" + backups() + '/'
                                        + kept("TKGRAPHICSSETTINGS.MXML").last()
                                  : QString());
        QCOMPARE(m_platform->prompts(), expected);
        if (copies > 1)
            QCOMPARE(readFile(backups() + '/' + kept("TKGRAPHICSSETTINGS.MXML").last()), written("200"));
    }

    // No copy, no write and no delete: the message names the file and the reason.
    void noBackupStopsIt_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("message");
        QTest::newRow("Apply") << "Command1" << "Not every settings file was written.\n\n%1\nNo backup of it could "
            "be kept in %2: Not a directory. It was not written.\n\n%3GCUSERSETTINGSDATA.MXML\nIt already held "
            "these settings.";
        QTest::newRow("Del All Settings") << "Command6" << "%1\n\nNo backup of it could be kept in %2: Not a "
            "directory. It was not deleted.";
    }

    void noBackupStopsIt()
    {
        QFETCH(QString, control);
        QFETCH(QString, message);
        writeFile(m_platform->dataHome.filePath("tarnwell"), "a file where the folder should be");
        m_platform->runForReal = true;
        m_platform->answers << Platform::Yes;
        m_form->text(3)->setText("200");
        click(m_form->findChild<QWidget *>(control));
        QTest::qWait(100); // a deletion would report from another thread
        message.replace("%1", graphics()).replace("%2", backups()).replace("%3", game() + "Binaries/SETTINGS/");
        QCOMPARE(m_platform->prompts().last(), message);
        QCOMPARE(readFile(graphics()), kGraphics);
        QCOMPARE(m_platform->commands.size(), 0);
    }
};

QTEST_MAIN(TestBackups)
#include "tst_backups.moc"
