// SPDX-License-Identifier: MIT
// The window as a screen reader and the keyboard alone meet it: names and roles through Qt's own
// accessibility interfaces, the Tab order to the last link, and keys that act as clicks.
#include "common/testsupport.h"

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QTimer>

using namespace testsupport;

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_w = std::make_unique<TestWindow>();
        QVERIFY(copySampleGame(m_w->dir.filePath("Game")));
        QVERIFY(m_w->start()); // a first start: the picker shows
    }
    void cleanup() { m_w.reset(); }

    void names_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("more"); // the value of the status, a link's description (address)
        const int list = QAccessible::ComboBox, link = QAccessible::Link;
        // A list, its typing field and its pop-up carry one name.
        QTest::newRow("Combo2") << list << "Texture Detail" << "Low";
        QTest::newRow("Combo3") << list << "Generation Detail" << "Normal";
        QTest::newRow("Combo4") << list << "Reflection Quality" << "Low";
        QTest::newRow("Combo5") << list << "Anti-Aliasing" << "None";
        QTest::newRow("Combo6") << list << "Motion Blur Quality" << "Off";
        QTest::newRow("Combo7") << list << "Shadow Detail" << "Low";
        QTest::newRow("Combo1") << list << "Resolution" << "320x200";
        QTest::newRow("Drive1") << list << "Drive" << "/";
        QTest::newRow("Dir1") << int(QAccessible::List) << "Folder" << "";
        QTest::newRow("File1") << int(QAccessible::List) << "File" << "";
        QTest::newRow("Label1") << int(QAccessible::Button) << "Choose another game executable" << "";
        QTest::newRow("Label22") << int(QAccessible::StaticText) << "Executable status" << "Not Set";
        QTest::newRow("Image1") << link << "Author's social network profile" << "http://social.example.com/tarnwell";
        QTest::newRow("Image2") << link << "Author's microblog" << "http://microblog.example.com/tarnwell";
        QTest::newRow("Image3") << link << "Author's game store community profile"
                                << "http://community.example.net/id/tarnwell";
        QTest::newRow("Image4") << link << "Author's code repository" << "http://code.example.org/tarnwell";
        QTest::newRow("Image5") << link << "Author's home page" << "http://www.example.com/";
        QTest::newRow("Image6") << link << "Author's video channel" << "http://video.example.com/tarnwell";
        QTest::newRow("Label20") << link << "Author's home page" << "http://www.example.com/";
        QTest::newRow("Form1") << int(QAccessible::Window) << "Tarnwell - Corvandel" << "";
    }

    void names()
    {
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, more);
        const QString object = QTest::currentDataTag();
        QWidget *control = object == "Form1" ? m_w->form.get() : m_w->form->findChild<QWidget *>(object);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
        QVERIFY(iface);
        QCOMPARE(int(iface->role()), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
        if (role == QAccessible::ComboBox) {
            QCOMPARE(iface->text(QAccessible::Value), more);
            for (int child = 0; child < iface->childCount(); ++child) // pop-up, then the typing field
                QCOMPARE(iface->child(child)->text(QAccessible::Name), name);
            QCOMPARE(iface->childCount(), object == "Drive1" ? 1 : 2);
        } else if (role == QAccessible::Link) {
            QCOMPARE(iface->text(QAccessible::Description), more);
            QVERIFY(iface->state().focusable && iface->state().linked);
        } else if (!more.isEmpty()) {
            QCOMPARE(iface->text(QAccessible::Value), more);
        }
    }

    // Tab from "Apply" through every control: the settings as they stand, then the buttons, the picker,
    // and the labels and pictures that act on a click.
    void focusChain()
    {
        QStringList visited;
        QTRY_COMPARE(QApplication::focusWidget(), m_w->form->command(1));
        for (int step = 0; step < 52; ++step) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited, QStringList({"Command1", "Check1", "Check2", "Check3", "Check8", "Check10", "Check11",
            "Check12", "Combo2", "Combo3", "Combo4", "Combo5", "Combo6", "Combo7", "Combo1", "Text1", "Text2", "Text8",
            "Text3", "Text11", "Text10", "Text5", "Text9", "Text7", "Text6", "Text4", "Check4", "Check5", "Check6",
            "Check7", "Check13", "Check9", "Command3", "Command2", "Command4", "Command6", "Command5", "Drive1", "Dir1",
            "File1", "Label1", "Label22", "Image1", "Image2", "Image3", "Image4", "Image5", "Image6", "Label20",
            "Command1", "Check1", "Check2"}));
    }

    void keys_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("outcome");
        const int none = Qt::NoModifier;
        QTest::newRow("Quit, Space") << "Command4" << int(Qt::Key_Space) << none << "closed";
        QTest::newRow("Quit, Enter") << "Command4" << int(Qt::Key_Return) << none << "closed";
        QTest::newRow("Reload, keypad Enter") << "Command3" << int(Qt::Key_Enter) << int(Qt::KeypadModifier)
                                              << "read Brightness 120";
        QTest::newRow("Label1, Space") << "Label1" << int(Qt::Key_Space) << none << "width 8100";
        QTest::newRow("Label1, Enter") << "Label1" << int(Qt::Key_Return) << none << "width 8100";
        QTest::newRow("Label22, Space") << "Label22" << int(Qt::Key_Space) << none << "copied Not Set";
        QTest::newRow("Label22, Enter") << "Label22" << int(Qt::Key_Return) << none << "copied Not Set";
        QTest::newRow("Label22, Ctrl+C") << "Label22" << int(Qt::Key_C) << int(Qt::ControlModifier) << "copied Not Set";
        QTest::newRow("Image1, Space") << "Image1" << int(Qt::Key_Space) << none << "opened http://social.example.com/tarnwell";
        QTest::newRow("Image1, Enter") << "Image1" << int(Qt::Key_Return) << none << "opened http://social.example.com/tarnwell";
        QTest::newRow("Apply, Shift+F10") << "Command1" << int(Qt::Key_F10) << int(Qt::ShiftModifier) << "menu Restore...";
    }

    void keys()
    {
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, outcome);
        Form1 &form = *m_w->form;
        m_w->loadGame(m_w->dir.filePath("Game/"));
        form.text(3)->setText("0");
        if (control == "Command3")
            m_w->platform.pressed.enqueue(0); // "Reload" asks first about the edit: discard and read
        QWidget *target = form.findChild<QWidget *>(control);
        target->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), target);
        QString menu; // the keyboard's context menu, read and closed once it shows
        QTimer::singleShot(0, &form, [&menu] {
            if (QMenu *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                menu = popup->actions().value(0)->text();
                popup->close();
            }
        });
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        const FakePlatform &platform = m_w->platform;
        const QString seen = platform.closes ? "closed"
            : form.text(3)->text() != "0"    ? "read Brightness " + form.text(3)->text()
            : form.outerWidthTwips() != 11000 ? "width " + QString::number(form.outerWidthTwips())
            : !platform.clipboard.isEmpty()  ? "copied " + platform.clipboard
            : !platform.commands.isEmpty()   ? "opened " + platform.commands.first().operand
            : !menu.isEmpty()                ? "menu " + menu
                                             : "nothing";
        QCOMPARE(seen, outcome);
    }

private:
    std::unique_ptr<TestWindow> m_w;
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
