// SPDX-License-Identifier: MIT
// The window as a user meets it: start-up, the window commands, and a layout without faults.
#include "common/fakeplatform.h"
#include "form1.h"
#include "platform/desktopplatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstStart();
    void exclusion_data();
    void exclusion();
    void statusCopy();
    void quitEndsProgram();
    void layoutHasNoOverlaps();
    void captionsFitInsideWindow();
    void pickerShowsOnlyWhenWide_data();
    void pickerShowsOnlyWhenWide();
    void tabOrderStartsWithApply();
    void accessibleNames();

private:
    void startForm();
    QList<QWidget *> controls() const;

    QTemporaryDir *m_dir = nullptr;
    FakePlatform *m_platform = nullptr;
    Form1 *m_form = nullptr;
};

void TestForm1::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_platform = new FakePlatform;
    m_platform->folder = m_dir->path();
}

void TestForm1::cleanup()
{
    delete m_form;
    m_form = nullptr;
    delete m_platform;
    delete m_dir;
}

void TestForm1::startForm()
{
    m_form = new Form1(*m_platform);
    m_form->Form_Load();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
}

QList<QWidget *> TestForm1::controls() const
{
    QList<QWidget *> result;
    for (QWidget *child : m_form->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        result << child;
    return result;
}

void TestForm1::firstStart()
{
    startForm();
    QCOMPARE(m_platform->messages.size(), 1);
    QCOMPARE(m_platform->messages[0].prompt, QStringLiteral("Select your Quillvane QVX.EXE to get started!"));
    QCOMPARE(m_platform->messages[0].buttons, 64);
    QVERIFY(m_platform->messages[0].title.isEmpty());
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Tarnwell - Corvandel"));
    QCOMPARE(m_form->frameGeometry().width(), 733); // 11000 twips at 96 dpi
    QVERIFY(m_form->GameExePath.isEmpty());

    const QList<QPair<int, QString>> texts = {{1, "16"}, {2, "140"}, {3, "115"}, {4, "160"}, {5, "4"}, {6, "256"},
                                              {7, "180"}, {8, "140"}, {9, "4"}, {10, "80"}, {11, "0"}};
    for (const auto &[n, text] : texts)
        QCOMPARE(m_form->text(n)->text(), text);
    for (int n = 1; n <= 13; ++n)
        QVERIFY2(!m_form->check(n)->isChecked(), qPrintable(QStringLiteral("Check%1").arg(n)));

    // A typed text that is no entry stays the list's value, and adds no entry.
    QComboBox *resolution = m_form->combo(1);
    resolution->setFocus();
    resolution->lineEdit()->selectAll();
    QTest::keyClicks(resolution->lineEdit(), QStringLiteral("2560x1440"));
    QTest::keyClick(resolution->lineEdit(), Qt::Key_Tab);
    QCOMPARE(resolution->currentText(), QStringLiteral("2560x1440"));
    QCOMPARE(resolution->count(), 28);
}

void TestForm1::exclusion_data()
{
    QTest::addColumn<int>("clicked");
    QTest::addColumn<bool>("clickedBefore");
    QTest::addColumn<bool>("otherBefore");
    QTest::newRow("FullScreen on, Borderless was on") << 1 << false << true;
    QTest::newRow("Borderless on, FullScreen was on") << 2 << false << true;
    QTest::newRow("FullScreen off, Borderless off") << 1 << true << false;
    QTest::newRow("Borderless off, FullScreen off") << 2 << true << false;
    QTest::newRow("FullScreen on alone") << 1 << false << false;
}

void TestForm1::exclusion()
{
    QFETCH(int, clicked);
    QFETCH(bool, clickedBefore);
    QFETCH(bool, otherBefore);
    startForm();
    const int other = clicked == 1 ? 2 : 1;
    m_form->check(clicked)->setChecked(clickedBefore);
    m_form->check(other)->setChecked(otherBefore);
    QTest::mouseClick(m_form->check(clicked), Qt::LeftButton, {}, m_form->check(clicked)->rect().center());
    QCOMPARE(m_form->check(clicked)->isChecked(), !clickedBefore);
    QVERIFY(!m_form->check(other)->isChecked());

    // The program's own changes, as the settings reader makes them, leave the other box alone.
    m_form->check(other)->setChecked(true);
    m_form->check(clicked)->setChecked(true);
    QVERIFY(m_form->check(other)->isChecked());
}

void TestForm1::statusCopy()
{
    startForm();
    QTest::mouseClick(m_form->label(22), Qt::LeftButton, {}, m_form->label(22)->rect().center());
    QCOMPARE(m_platform->clipboard, QStringLiteral("Not Set"));
    QCOMPARE(m_platform->messages.size(), 1); // the start-up prompt only: the copy shows nothing

    // The real service puts it on the system clipboard.
    DesktopPlatform desktop;
    desktop.setClipboardText(QStringLiteral("Unknown Quillvane Version! MD5: 00"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Unknown Quillvane Version! MD5: 00"));
}

void TestForm1::quitEndsProgram()
{
    DesktopPlatform desktop;
    Form1 form(desktop);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // The program's event loop ends when "Quit" is clicked; a watchdog ends it with 1 otherwise.
    QTimer::singleShot(0, &form, [&form] { QTest::mouseClick(form.command(4), Qt::LeftButton); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
    watchdog.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(form.isClosed());
    QVERIFY(!form.isVisible());
}

void TestForm1::layoutHasNoOverlaps()
{
    startForm();
    const QList<QWidget *> all = controls();
    for (qsizetype i = 0; i < all.size(); ++i) {
        for (qsizetype j = i + 1; j < all.size(); ++j) {
            // Boxes of a pair, and the picker's lists, share a border of a pixel or two by design.
            const QRect shared = all[i]->geometry().intersected(all[j]->geometry());
            QVERIFY2(shared.isEmpty() || (shared.width() <= 2 || shared.height() <= 2),
                     qPrintable(all[i]->objectName() + QStringLiteral(" overlaps ") + all[j]->objectName()));
        }
    }
}

void TestForm1::captionsFitInsideWindow()
{
    startForm();
    m_form->setOuterWidthTwips(8000);
    const QRect inside = m_form->rect();
    for (QLabel *label : m_form->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (label->text().isEmpty())
            continue; // pictures
        QVERIFY2(inside.contains(label->geometry()), qPrintable(label->objectName()));
        const int needed = label->fontMetrics().horizontalAdvance(label->text());
        QVERIFY2(label->width() >= needed, qPrintable(label->objectName() + QStringLiteral(" is cut off")));
    }
    // Every entry of a list shows whole in its edit field.
    for (int n = 1; n <= 7; ++n) {
        QLineEdit *edit = m_form->combo(n)->lineEdit();
        for (int i = 0; i < m_form->combo(n)->count(); ++i) {
            const QString entry = m_form->combo(n)->itemText(i);
            QVERIFY2(edit->fontMetrics().horizontalAdvance(entry) <= edit->contentsRect().width() - 4,
                     qPrintable(entry + QStringLiteral(" %1 in %2").arg(edit->fontMetrics().horizontalAdvance(entry)).arg(edit->contentsRect().width())));
        }
    }
    for (QPushButton *button : m_form->findChildren<QPushButton *>()) {
        QVERIFY(inside.contains(button->geometry()));
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text().trimmed()) < button->width(),
                 qPrintable(button->objectName()));
    }
}

void TestForm1::pickerShowsOnlyWhenWide_data()
{
    QTest::addColumn<int>("widthTwips");
    QTest::addColumn<bool>("pickerVisible");
    QTest::newRow("8000") << 8000 << false;
    QTest::newRow("8100") << 8100 << false;
    QTest::newRow("11000") << 11000 << true;
}

void TestForm1::pickerShowsOnlyWhenWide()
{
    QFETCH(int, widthTwips);
    QFETCH(bool, pickerVisible);
    startForm();
    m_form->setOuterWidthTwips(widthTwips);
    QCOMPARE(m_form->frameGeometry().width(), qRound(widthTwips / 15.0));
    const QRect inside = m_form->rect();
    const QList<QWidget *> picker = {m_form->Drive1, m_form->Dir1, m_form->File1};
    for (QWidget *part : picker) {
        const QRect shown = part->geometry().intersected(inside);
        if (pickerVisible) {
            QVERIFY(part->isVisible());
            QCOMPARE(shown.width(), part->width());
        } else {
            QVERIFY2(shown.width() <= 0 || !part->isVisible(), qPrintable(part->objectName()));
        }
    }
    // Everything else stays in view at every width.
    for (QWidget *control : controls()) {
        if (picker.contains(control))
            continue;
        QVERIFY2(control->geometry().right() < inside.width(), qPrintable(control->objectName()));
    }
}

void TestForm1::tabOrderStartsWithApply()
{
    startForm();
    QCOMPARE(QApplication::focusWidget(), m_form->command(1));
    QWidget *next = m_form->command(1)->nextInFocusChain();
    while (next && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    QCOMPARE(next, m_form->check(1));
}

void TestForm1::accessibleNames()
{
    startForm();
    const QList<QPair<QString, QString>> names = {{"Check5", "HDR"}, {"Text3", "Brightness"},
        {"Text2", "Field of View (Foot)"}, {"Text8", "Field of View (Ship)"}, {"Text10", "Volume (SFX)"},
        {"Combo7", "Shadow Detail"}, {"Combo1", "Resolution"}};
    for (const auto &[control, name] : names)
        QCOMPARE(m_form->findChild<QWidget *>(control)->accessibleName(), name);
    // Every settings control carries one.
    for (QWidget *child : controls()) {
        const QString kind = child->objectName().left(4);
        if (kind == QLatin1String("Chec") || kind == QLatin1String("Text") || kind == QLatin1String("Comb"))
            QVERIFY2(!child->accessibleName().isEmpty(), qPrintable(child->objectName()));
    }
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
