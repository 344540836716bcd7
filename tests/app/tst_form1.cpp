// SPDX-License-Identifier: MIT
// The window as a user meets it: start-up, the window commands, a layout without faults, and a
// window that explains itself and shows what files hold as it is.
#include "common/fakeplatform.h"
#include "folderrowdelegate.h"
#include "form1.h"
#include "links/bannerloader.h"
#include "platform/desktopplatform.h"
#include "statuslabel.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), qPrintable(path));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "<unreadable>";
}

} // namespace

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
    void settingsExplained();
    void statusShownWhole_data();
    void statusShownWhole();
    void messageBoxBelongsToWindow();
    void folderTypeAhead_data();
    void folderTypeAhead();
    void bannerArea_data();
    void bannerArea();
    void longValuesComeBackWhole();

private:
    void startForm();
    void openFolder(const QString &path); // through Dir1, from the root down
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
    QTest::addColumn<bool>("viaCaption"); // the click lands on the caption beside the box
    QTest::newRow("FullScreen on, Borderless was on") << 1 << false << true << false;
    QTest::newRow("Borderless on, FullScreen was on") << 2 << false << true << false;
    QTest::newRow("FullScreen off, Borderless off") << 1 << true << false << false;
    QTest::newRow("Borderless off, FullScreen off") << 2 << true << false << false;
    QTest::newRow("FullScreen on alone") << 1 << false << false << false;
    QTest::newRow("FullScreen caption, Borderless was on") << 1 << false << true << true;
    QTest::newRow("Borderless caption, FullScreen was on") << 2 << false << true << true;
    QTest::newRow("FullScreen caption clears it") << 1 << true << false << true;
}

void TestForm1::exclusion()
{
    QFETCH(int, clicked);
    QFETCH(bool, clickedBefore);
    QFETCH(bool, otherBefore);
    QFETCH(bool, viaCaption);
    startForm();
    const int other = clicked == 1 ? 2 : 1;
    m_form->check(clicked)->setChecked(clickedBefore);
    m_form->check(other)->setChecked(otherBefore);
    QWidget *target = viaCaption ? static_cast<QWidget *>(m_form->label(clicked == 1 ? 2 : 24)) : m_form->check(clicked);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
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

void TestForm1::openFolder(const QString &path)
{
    QString reached = "/";
    emit m_form->Dir1->itemActivated(m_form->Dir1->findItems("/", Qt::MatchExactly).value(0));
    for (const QString &part : path.split('/', Qt::SkipEmptyParts)) {
        reached += (reached.endsWith('/') ? "" : "/") + part;
        const auto rows = m_form->Dir1->findItems(part, Qt::MatchExactly);
        for (QListWidgetItem *row : rows) {
            if (row->data(Qt::UserRole).toString() == reached)
                emit m_form->Dir1->itemActivated(row);
        }
        QCOMPARE(m_form->Dir1->currentItem()->data(Qt::UserRole).toString(), reached);
    }
}

void TestForm1::settingsExplained()
{
    startForm();
    // Every setting's control and caption, the unit labels too, says what the setting does.
    const QList<QPair<QString, QList<int>>> named = {{"Check", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
        {"Text", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}, {"Combo", {1, 2, 3, 4, 5, 6, 7}}, {"Label", {2, 24, 4, 21, 29, 30,
        31, 5, 6, 7, 8, 9, 23, 3, 11, 12, 28, 13, 33, 32, 15, 27, 10, 17, 14, 16, 18, 19, 25, 35, 26}}};
    for (const auto &[kind, numbers] : named) {
        for (int n : numbers)
            QVERIFY2(m_form->findChild<QWidget *>(kind + QString::number(n))->toolTip().startsWith("<p>"), qPrintable(kind));
    }
    QCOMPARE(m_form->combo(5)->toolTip(), "<p>Smooths jagged edges. FXAA is quick but soft; TAA blends several frames "
        "for a steadier picture.</p><p>Values: None, FXAA, TAA, TAA_LOW, TAA_FXAA</p><p>AntiAliasingEx2 in "
        "TKGRAPHICSSETTINGS.MXML</p>");
    QCOMPARE(m_form->label(8)->toolTip(), m_form->combo(5)->toolTip());
    QCOMPARE(m_form->check(9)->toolTip(), "<p>How fast buttons that must be held down fill up in the menus: checked "
        "fills quickly (0.50), cleared slowly (0.01).</p><p>MouseClickSpeedMultiplier in TKGRAPHICSSETTINGS.MXML</p>");
    QVERIFY(m_form->combo(1)->toolTip().endsWith("<p>ResolutionWidth in TKGRAPHICSSETTINGS.MXML, ResolutionHeight in "
                                                 "TKGRAPHICSSETTINGS.MXML</p>"));
    QVERIFY(m_form->text(10)->toolTip().endsWith("<p>SfxVolume in GCUSERSETTINGSDATA.MXML</p>"));
    for (const QString &both : {m_form->label(32)->toolTip(), m_form->label(33)->toolTip()})
        QVERIFY(both.contains("How loud the music is; 0 is silent.") && both.contains("How loud the sound effects"));

    // A click on a check box's caption toggles the box; on any other caption it changes nothing.
    QTest::mouseClick(m_form->label(18), Qt::LeftButton, {}, QPoint(3, 3));
    QVERIFY(m_form->check(5)->isChecked());
    QCOMPARE(QApplication::focusWidget(), m_form->check(5));
    QTest::mouseClick(m_form->label(18), Qt::LeftButton, {}, QPoint(3, 3));
    QVERIFY(!m_form->check(5)->isChecked());
    QTest::mouseClick(m_form->label(13), Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(m_form->text(3)->text(), "115");
}

void TestForm1::statusShownWhole_data()
{
    QTest::addColumn<QByteArray>("versions"); // the known-versions file; the executable is "another build"
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("whole"); // else cut with an ellipsis, and whole in the tooltip
    const QByteArray digest = "b1079dd132ec9bafbe297272507f5cf8";
    const QString longName = "Quillvane Collector's Edition, Build 2025.11.30 with the Expeditions, Frontier and "
                             "Deep Space Packs";
    QTest::newRow("unknown version") << QByteArray("00000000000000000000000000000000 Other\r\n")
                                     << "Unknown Quillvane Version! MD5: B1079DD132EC9BAFBE297272507F5CF8" << true;
    QTest::newRow("release name with markup") << digest + " <i>x</i> & <b>y</b>\r\n" << "<i>x</i> & <b>y</b> Detected!"
                                              << true;
    QTest::newRow("release name too long") << digest + " " + longName.toUtf8() << longName + " Detected!" << false;
}

void TestForm1::statusShownWhole()
{
    QFETCH(QByteArray, versions);
    QFETCH(QString, caption);
    QFETCH(bool, whole);
    const QString exe = m_dir->filePath("Game/Binaries/QVX.EXE");
    writeFile(exe, "another build");
    writeFile(m_dir->filePath("dat/QVX.dat"), versions);
    writeFile(m_dir->filePath("Tarnwell.dat"), "QVXEXE=" + exe.toUtf8() + "\r\n");
    startForm();
    QTRY_VERIFY(!m_form->isChecking());
    auto *status = qobject_cast<StatusLabel *>(m_form->label(22));
    QVERIFY(status);
    QCOMPARE(status->text(), caption);
    QCOMPARE(status->textFormat(), Qt::PlainText);
    QCOMPARE(m_form->frameGeometry().width(), 540); // 8100 twips
    // Within the first 7935 twips and above the row at 240, in a face no smaller than the lists' own.
    QVERIFY(status->geometry().right() < 529 && status->geometry().bottom() < 16);
    QVERIFY(status->shownFont().pointSizeF() >= 7.5);
    QVERIFY(status->width() >= QFontMetrics(status->shownFont()).horizontalAdvance(status->shownText()));
    if (whole) {
        QCOMPARE(status->shownText(), caption);
    } else {
        QVERIFY(status->shownText().endsWith(QChar(0x2026)));
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), status->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(status, &help);
        QVERIFY(QToolTip::text().contains(caption));
    }
    // The copy by click takes the whole caption.
    QTest::mouseClick(status, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(m_platform->clipboard, caption);
}

void TestForm1::messageBoxBelongsToWindow()
{
    // The picker offers a file whose name looks like markup; the prompt names it as it is.
    const QString folder = m_dir->filePath("named");
    writeFile(folder + "/<i>QVX.EXE", "x");
    startForm();
    openFolder(folder);
    QListWidgetItem *file = m_form->File1->findItems("<i>QVX.EXE", Qt::MatchExactly).value(0);
    QVERIFY(file);
    m_platform->answers.enqueue(Platform::No);
    QTest::mouseClick(m_form->File1->viewport(), Qt::LeftButton, {}, m_form->File1->visualItemRect(file).center());
    QCOMPARE(m_platform->messages.last().prompt, "Set File: <i>QVX.EXE");

    // The real box shows it as plain text, centred over the window, with the window's icon.
    DesktopPlatform desktop;
    desktop.setWindow(m_form);
    std::unique_ptr<QMessageBox> box = desktop.makeMessageBox("Set File: <i>QVX.EXE", Platform::YesNo, "Set this file?");
    QCOMPARE(box->parentWidget(), m_form);
    QCOMPARE(box->textFormat(), Qt::PlainText);
    QCOMPARE(box->text(), "Set File: <i>QVX.EXE");
    QCOMPARE(box->windowTitle(), "Set this file?");
    QCOMPARE(box->windowIcon().pixmap(32).toImage(), m_form->windowIcon().pixmap(32).toImage());
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QVERIFY((box->frameGeometry().center() - m_form->frameGeometry().center()).manhattanLength() <= 2);
    box->close();

    // Asked before the window shows, the box and then the window appear in the middle of the screen
    // (the window give or take its frame, unknown until it shows).
    Form1 later(*m_platform);
    desktop.setWindow(&later);
    const std::unique_ptr<QMessageBox> early = desktop.makeMessageBox("Select your Quillvane QVX.EXE to get started!",
                                                                      Platform::Information, QString());
    early->show();
    QVERIFY(QTest::qWaitForWindowExposed(early.get()));
    const QPoint middle = later.screen()->availableGeometry().center();
    QVERIFY((early->frameGeometry().center() - middle).manhattanLength() <= 2);
    early->close();
    later.show();
    QVERIFY(QTest::qWaitForWindowExposed(&later));
    QVERIFY((later.frameGeometry().center() - middle).manhattanLength() <= 8);
}

void TestForm1::folderTypeAhead_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("selected");
    QTest::newRow("be") << "be" << "beta";
    QTest::newRow("bra") << "bra" << "Bravo Edition, a name far too long for the folder list to show whole";
    QTest::newRow("al") << "al" << "alpha";
}

void TestForm1::folderTypeAhead()
{
    QFETCH(QString, typed);
    QFETCH(QString, selected);
    const QString games = m_dir->filePath("Games");
    const QString longName = "Bravo Edition, a name far too long for the folder list to show whole";
    for (const QString &name : {QString("alpha"), QString("beta"), longName})
        QVERIFY(QDir().mkpath(games + "/" + name + "/deeper"));
    startForm();
    openFolder(games);
    QListWidget *list = m_form->Dir1;
    QListWidgetItem *here = list->currentItem();
    QCOMPARE(here->text(), "Games"); // the name alone: no blanks in front
    const int row = list->row(here);
    // Depth is drawn: the icon of each level stands further right than the one above it.
    list->doItemsLayout(); // now rather than on the next turn of the event loop
    const QImage shown = list->viewport()->grab().toImage();
    const auto iconLeft = [&](int at) {
        const QRect place = list->visualItemRect(list->item(at));
        int x = place.left();
        while (x < place.right() && shown.pixelColor(x, place.center().y()) == list->palette().color(QPalette::Base))
            ++x;
        return x;
    };
    QVERIFY(iconLeft(row - 1) < iconLeft(row) && iconLeft(row) < iconLeft(row + 1));
    // The long name is cut to the list's width, its whole path in the tooltip.
    QListWidgetItem *longRow = list->findItems(longName, Qt::MatchExactly).value(0);
    QCOMPARE(longRow->toolTip(), games + "/" + longName);
    QVERIFY(list->visualItemRect(longRow).right() < list->viewport()->width());
    QVERIFY(list->fontMetrics().horizontalAdvance(longName) > list->viewport()->width());

    list->setFocus();
    QTest::keyClicks(list, typed);
    QCOMPARE(list->currentItem()->text(), selected);
    QCOMPARE(list->currentItem()->data(Qt::UserRole).toString(), games + "/" + selected);
}

void TestForm1::bannerArea_data()
{
    QTest::addColumn<QByteArray>("reply"); // of the banner host; empty: no banner module at all
    QTest::addColumn<bool>("pageShown");
    QTest::newRow("no banner module") << QByteArray() << false;
    QTest::newRow("page loads") << QByteArray("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<p>Ad</p>") << true;
    QTest::newRow("error page") << QByteArray("HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n<p>No</p>")
                                << false;
    QTest::newRow("connection dropped") << QByteArray("-") << false;
}

void TestForm1::bannerArea()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, pageShown);
    startForm(); // the program folder holds no banner module
    const QImage picture = m_form->WebBrowser1->grab().toImage();
    QCOMPARE(picture.pixelColor(2, 2), QColor(0x0A, 0x1A, 0x28)); // the dark foot around the picture
    QSet<QRgb> colours; // a picture, not a plain box
    for (int at = 0; at < picture.width() * picture.height(); ++at)
        colours.insert(picture.pixel(at % picture.width(), at / picture.width()));
    QVERIFY2(colours.size() > 200, qPrintable(QString::number(colours.size())));
    if (reply.isEmpty())
        return;
    if (!QFileInfo::exists(tarnwell::links::bannerModulePath(TARNWELL_BUILD_DIR)))
        QSKIP("built without Qt WebEngine");
#ifdef TARNWELL_SANITIZED
    // The web engine's own code frees a loaded page with a size AddressSanitizer disputes.
    QSKIP("a loaded page trips AddressSanitizer inside the web engine library");
#endif

    // A banner host on this machine answers once.
    QTcpServer host;
    QVERIFY(host.listen(QHostAddress::LocalHost));
    connect(&host, &QTcpServer::newConnection, &host, [&] {
        QTcpSocket *socket = host.nextPendingConnection();
        connect(socket, &QTcpSocket::readyRead, socket, [socket, reply] {
            if (reply != "-")
                socket->write(reply);
            socket->disconnectFromHost();
        });
    });
    QVERIFY(tarnwell::links::loadBanner(TARNWELL_BUILD_DIR, m_form->WebBrowser1,
                                        QString("http://127.0.0.1:%1/ad").arg(host.serverPort())));
    QWidget *view = m_form->WebBrowser1->findChild<QWidget *>("BannerView");
    QVERIFY(view && !view->isVisible()); // the picture stays until the page has loaded
    QSignalSpy loaded(view, SIGNAL(loadFinished(bool)));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, 30000);
    QCOMPARE(loaded.first().first().toBool(), pageShown);
    QCOMPARE(view->isVisible(), pageShown);
}

void TestForm1::longValuesComeBackWhole()
{
    // Longer than a line edit takes by default (32,767 characters), in a text box and a list's edit field.
    const QByteArray longValue = QByteArray("0123456789").repeated(4000);
    const QByteArray head = "<Data>\n <Property name=\"Brightness\" value=\"" + longValue
        + "\" />\n <Property name=\"TextureDetail\" value=\"" + longValue + "\" />\n <Property name=\"UseHDR\" value=\"";
    const QString settings = m_dir->filePath("Game/Binaries/SETTINGS/");
    writeFile(settings + "TKGRAPHICSSETTINGS.MXML", head + "false\" />\n</Data>\n\r\n");
    writeFile(settings + "GCUSERSETTINGSDATA.MXML", "<Data>\n <Property name=\"Vibration\" value=\"true\" />\n</Data>\n\r\n");
    startForm();
    m_form->GameFolder = m_dir->filePath("Game/");
    m_form->ReadConfig();
    QCOMPARE(m_form->text(3)->text().size(), 40000);
    QCOMPARE(m_form->combo(2)->currentText().size(), 40000);
    QTest::mouseClick(m_form->check(5), Qt::LeftButton);
    QTest::mouseClick(m_form->command(1), Qt::LeftButton);
    QCOMPARE(m_platform->messages.last().prompt, "Settings written to file!");
    QCOMPARE(readFile(settings + "TKGRAPHICSSETTINGS.MXML"), head + "true\" />\n</Data>\n\r\n");
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
