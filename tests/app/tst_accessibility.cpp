// SPDX-License-Identifier: MIT
// The window as a screen reader and the keyboard alone meet it: names and roles through Qt's own
// accessibility interfaces, the Tab order to the last link, and keys that act as clicks.
#include "clickablelabel.h"
#include "common/testsupport.h"

#include <QAccessible>
#include <QApplication>
#include <QTimer>

#include <array>

using namespace testsupport;

namespace {
// The parts of a list that carry its name: its pop-up, and its typing field where it has one.
enum class Parts { None, PopUp, PopUpAndField };
// The controls keys are pressed on: Command4, Command3, Label1, Label22, Image1, Command1.
enum class Focus { Quit, Reload, Caption, Status, Link, Apply };
} // namespace

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
        QTest::addColumn<QString>("more"); // a list's or the status's value, a link's description (address)
        QTest::addColumn<Parts>("parts");
        // A list, its typing field and its pop-up carry one name.
        addRows(QAccessible::ComboBox, {"Combo2|Texture Detail|Low", "Combo3|Generation Detail|Normal",
            "Combo4|Reflection Quality|Low", "Combo5|Anti-Aliasing|None", "Combo6|Motion Blur Quality|Off",
            "Combo7|Shadow Detail|Low", "Combo1|Resolution|320x200"}, Parts::PopUpAndField);
        addRows(QAccessible::ComboBox, {"Drive1|Drive|"}, Parts::PopUp);
        addRows(QAccessible::List, {"Dir1|Folder|", "File1|File|"});
        addRows(QAccessible::Button, {"Label1|Choose another game executable|"});
        addRows(QAccessible::StaticText, {"Label22|Executable status|Not Set"});
        addRows(QAccessible::Link, {"Image1|Author's social network profile|http://social.example.com/tarnwell",
            "Image2|Author's microblog|http://microblog.example.com/tarnwell",
            "Image3|Author's game store community profile|http://community.example.net/id/tarnwell",
            "Image4|Author's code repository|http://code.example.org/tarnwell",
            "Image5|Author's home page|http://www.example.com/", "Label20|Author's home page|http://www.example.com/",
            "Image6|Author's video channel|http://video.example.com/tarnwell"});
        addRows(QAccessible::Window, {"Form1|Tarnwell - Corvandel|"});
    }

    void names()
    {
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, more);
        QFETCH(Parts, parts);
        const bool window = role == QAccessible::Window;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(
            window ? m_w->form.get() : m_w->form->findChild<QWidget *>(QTest::currentDataTag()));
        QVERIFY(iface);
        QCOMPARE(int(iface->role()), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
        if (!more.isEmpty())
            QCOMPARE(iface->text(role == QAccessible::Link ? QAccessible::Description : QAccessible::Value), more);
        QCOMPARE(iface->state().focusable, !window); // the window, and every control
        QCOMPARE(iface->state().linked, role == QAccessible::Link);
        // The pop-up (named once the window shows), then the typing field.
        for (int child = 0; parts != Parts::None && child < 2; ++child)
            QTRY_COMPARE(child < iface->childCount() ? iface->child(child)->text(QAccessible::Name) : "none",
                         parts == Parts::PopUp && child ? "none" : name);
    }

    // Tab from "Apply": the settings, the buttons, the picker, then the labels and pictures that act on a click.
    void focusChain()
    {
        QStringList visited;
        QTRY_COMPARE(QApplication::focusWidget(), m_w->form->command(1));
        for (int step = 0; step < 52; ++step, QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab))
            visited << QApplication::focusWidget()->objectName();
        QCOMPARE(visited, QStringList({"Command1", "Check1", "Check2", "Check3", "Check8", "Check10", "Check11",
            "Check12", "Combo2", "Combo3", "Combo4", "Combo5", "Combo6", "Combo7", "Combo1", "Text1", "Text2", "Text8",
            "Text3", "Text11", "Text10", "Text5", "Text9", "Text7", "Text6", "Text4", "Check4", "Check5", "Check6",
            "Check7", "Check13", "Check9", "Command3", "Command2", "Command4", "Command6", "Command5", "Drive1", "Dir1",
            "File1", "Label1", "Label22", "Image1", "Image2", "Image3", "Image4", "Image5", "Image6", "Label20",
            "Command1", "Check1", "Check2"}));
    }

    void keys_data()
    {
        QTest::addColumn<Focus>("focus");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("outcome");
        const QString copied = "copied Not Set", opened = "opened http://social.example.com/tarnwell";
        // Quit, Reload, the caption that brings the picker back, the status, a link, Apply's menu.
        using enum Focus;
        const QKeySequence space(Qt::Key_Space), enter(Qt::Key_Return);
        QTest::newRow("Command4 Space") << Quit << space << "closed";
        QTest::newRow("Command4 Return") << Quit << enter << "closed";
        QTest::newRow("Command3 Num+Enter") << Reload << QKeySequence(Qt::KeypadModifier | Qt::Key_Enter)
                                            << "read Brightness 120";
        QTest::newRow("Label1 Space") << Caption << space << "width 8100";
        QTest::newRow("Label1 Return") << Caption << enter << "width 8100";
        QTest::newRow("Label22 Space") << Status << space << copied;
        QTest::newRow("Label22 Return") << Status << enter << copied;
        QTest::newRow("Label22 Ctrl+C") << Status << QKeySequence(Qt::CTRL | Qt::Key_C) << copied;
        QTest::newRow("Image1 Space") << Link << space << opened;
        QTest::newRow("Image1 Return") << Link << enter << opened;
        QTest::newRow("Command1 Shift+F10") << Apply << QKeySequence(Qt::SHIFT | Qt::Key_F10)
                                            << "menu Restore...";
    }

    void keys()
    {
        QFETCH(Focus, focus);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, outcome);
        Form1 &form = *m_w->form;
        m_w->loadGame(m_w->dir.filePath("Game/"));
        form.text(3)->setText("0");
        QWidget *const target = std::array<QWidget *, 6>{form.command(4), form.command(3), form.label(1), form.label(22),
                                                         form.image(1), form.command(1)}[int(focus)];
        if (focus == Focus::Reload)
            m_w->platform.pressed.enqueue(1); // "Reload" asks first about the edit: "Discard and read"
        target->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), target);
        QString menu; // the keyboard's context menu, read and closed once it shows
        QTimer::singleShot(0, &form, [&menu] {
            if (QWidget *popup = QApplication::activePopupWidget(); popup && popup->close())
                menu = popup->actions().value(0)->text();
        });
        QTest::keySequence(target, keys);
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
    static void addRows(int role, const QStringList &rows, Parts parts = Parts::None) // "object|name|more"
    {
        for (const QString &row : rows)
            QTest::newRow(qPrintable(row.section('|', 0, 0))) << role << row.section('|', 1, 1) << row.section('|', 2)
                                                              << parts;
    }

    std::unique_ptr<TestWindow> m_w;
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
