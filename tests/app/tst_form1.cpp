// SPDX-License-Identifier: MIT
// The window as a user meets it: start-up, every caption and list entry to the letter, the window
// commands, a layout without faults, and a window that explains itself and shows what files hold as it is.
#include "artwork.h"
#include "common/testsupport.h"
#include "files/toolfiles.h"
#include "links/bannerloader.h"
#include "links/links.h"
#include "platform/desktopplatform.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QListView>
#include <QMessageBox>
#include <QResource>
#include <QScreen>
#include <QStyle>
#include <QSignalSpy>
#include <QTimer>
#ifdef TARNWELL_BANNER_HOST
#include <QTcpServer>
#include <QTcpSocket>
#endif

#include <tuple>

using namespace testsupport;

namespace {
// The banner host of a row: none asked (no banner module), one that answers, drops the connection or is gone.
enum class Host { NoModule, Answers, Drops, Gone };
} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_w = std::make_unique<TestWindow>(); }
    void cleanup() { m_w.reset(); }

    void firstStart()
    {
        // The prompt, the status and the width of a first start are the registration tests' first row,
        // the captions, lists and text boxes the rows of texts().
        QVERIFY(m_w->start());
        Form1 &form = *m_w->form;
        QCOMPARE(form.windowTitle(), "Tarnwell - Corvandel"); // the focus, from "Apply" on: tst_accessibility
        for (int n = 1; n <= 13; ++n)
            QVERIFY2(!form.check(n)->isChecked(), qPrintable(QStringLiteral("Check%1").arg(n)));

        // A typed text that is no entry stays the list's value, and adds no entry.
        QComboBox *resolution = form.combo(1);
        resolution->setFocus();
        resolution->lineEdit()->selectAll();
        QTest::keyClicks(resolution->lineEdit(), "2560x1440");
        QTest::keyClick(resolution->lineEdit(), Qt::Key_Tab);
        QCOMPARE(resolution->currentText(), "2560x1440");
        QCOMPARE(resolution->count(), 28);
    }

    void texts_data()
    {
        QTest::addColumn<QStringList>("texts"); // "control=caption", or the entries of the list named by the row
        QTest::addColumn<QString>("look");      // the font and text colour; empty for a list

        QTest::newRow("captions") << QStringList{"Label1=Quillvane EXE:", "Label2=FullScreen:", "Label3=Resolution:",
            "Label4=VSync:", "Label5=Texture Detail:", "Label6=Generation Detail:", "Label7=Reflection Quality:",
            "Label8=Anti-Aliasing:", "Label9=Motion Blur Quality:", "Label10=Motion Blur Amount:",
            "Label11=Anistropic Filtering:", "Label12=Field of View:", "Label13=Brightness:", "Label14=Framerate Lock:",
            "Label15=Work Threads:", "Label16=Texture Streaming:", "Label17=Page Size (kB):", "Label18=HDR:",
            "Label19=Light Shafts:", "Label21=GSync:", "Label23=Shadow Detail", "Label24=Borderless:", "Label25=HBAO:",
            "Label26='Hold Select' Menu:", "Label27=(High/Low)", "Label28=(Foot/Ship)", "Label29=Desktop Resolution:",
            "Label30=Gamepad Vibration:", "Label31=Hidden HUD:", "Label32=(Music/SFX)", "Label33=Volume:",
            "Label35=Tessellation"} << "Arial 9.75 bold #0000ff";
        QTest::newRow("status") << QStringList{"Label22=Not Set"} << "Arial 9 bold #ff8000";
        QTest::newRow("version, web address") << QStringList{"Label34=v0.0.2-r09", "Label20= www.example.com"}
                                              << "Arial 9 bold italic #00ffff";
        QTest::newRow("buttons") << QStringList{"Command1=Apply", "Command2=Launch", "Command3=Reload", "Command4=Quit",
            "Command5=Del ShaderCache", "Command6=Del All Settings "} << "Arial 8.25 bold"; // the toolkit's colour
        QTest::newRow("text boxes") << QStringList{"Text1=16", "Text2=140", "Text3=115", "Text4=160", "Text5=4",
            "Text6=256", "Text7=180", "Text8=140", "Text9=4", "Text10=80", "Text11=0"} << "Arial 7.5"; // compact
        QTest::newRow("Combo1") << QStringList{"320x200", "320x240", "640x400", "640x480", "800x480", "800x600",
            "852x480", "1024x768", "1152x864", "1280x720", "1280x768", "1280x800", "1280x960", "1280x1024", "1360x768",
            "1366x768", "1400x1050", "1440x900", "1600x900", "1600x1200", "1680x1050", "1920x1080", "2048x1536",
            "2560x2048", "3200x2400", "4000x3000", "5120x4096", "6400x4800"} << "";
        QTest::newRow("Combo2") << QStringList{"Low", "Normal", "High", "Ultra"} << "";
        QTest::newRow("Combo3") << QStringList{"Normal", "High"} << "";
        QTest::newRow("Combo4") << QStringList{"Low", "Normal", "High"} << "";
        QTest::newRow("Combo5") << QStringList{"None", "FXAA", "TAA", "TAA_LOW", "TAA_FXAA"} << "";
        QTest::newRow("Combo6") << QStringList{"Off", "Normal", "High", "Ultra"} << "";
        QTest::newRow("Combo7") << QStringList{"Low", "Normal", "High", "Ultra"} << "";
    }

    void texts()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, look);
        QVERIFY(m_w->start()); // an empty program folder: no executable chosen
        if (look.isEmpty()) {
            auto *list = m_w->form->findChild<QComboBox *>(QTest::currentDataTag());
            QVERIFY(list && list->isEditable());
            QStringList entries;
            for (int i = 0; i < list->count(); ++i)
                entries << list->itemText(i);
            QCOMPARE(entries, texts);
            QCOMPARE(list->currentText(), texts[0]); // the first entry is selected
            return;
        }
        for (const QString &text : texts) {
            const QString name = text.section('=', 0, 0);
            auto *control = m_w->form->findChild<QWidget *>(name);
            QVERIFY2(control, qPrintable(name));
            QCOMPARE(name + '=' + control->property("text").toString(), text);
            const QFont font = control->font();
            QString shown = font.family() + ' ' + QString::number(font.pointSizeF()) + (font.bold() ? " bold" : "")
                + (font.italic() ? " italic" : "");
            if (look.contains('#'))
                shown += ' ' + control->palette().color(QPalette::WindowText).name();
            QCOMPARE(name + ": " + shown, name + ": " + look);
        }
    }

    void exclusion_data()
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

    void exclusion()
    {
        QFETCH(int, clicked);
        QFETCH(bool, clickedBefore);
        QFETCH(bool, otherBefore);
        QFETCH(bool, viaCaption);
        QVERIFY(m_w->start());
        Form1 &form = *m_w->form;
        const int other = clicked == 1 ? 2 : 1;
        form.check(clicked)->setChecked(clickedBefore);
        form.check(other)->setChecked(otherBefore);
        QTest::mouseClick(viaCaption ? static_cast<QWidget *>(form.label(clicked == 1 ? 2 : 24)) : form.check(clicked),
                          Qt::LeftButton);
        QCOMPARE(form.check(clicked)->isChecked(), !clickedBefore);
        QVERIFY(!form.check(other)->isChecked());

        // The program's own changes, as the settings reader makes them, leave the other box alone.
        form.check(other)->setChecked(true);
        form.check(clicked)->setChecked(true);
        QVERIFY(form.check(other)->isChecked());
    }

    void quitEndsProgram()
    {
        DesktopPlatform desktop;
        Form1 form(desktop);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // The program's event loop ends when "Quit" is clicked; a watchdog ends it with 1 otherwise.
        QTimer::singleShot(0, &form, [&form] { QTest::mouseClick(form.command(4), Qt::LeftButton); });
        QTimer::singleShot(5000, &form, [] { QCoreApplication::exit(1); }); // dropped with the window
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(form.isClosed());
        QVERIFY(!form.isVisible());
    }

    void layout_data()
    {
        QTest::addColumn<int>("widthTwips");
        QTest::addColumn<bool>("pickerVisible");
        QTest::newRow("8000") << 8000 << false;
        QTest::newRow("8100") << 8100 << false;
        QTest::newRow("11000") << 11000 << true;
    }

    // At each width the window takes: no two controls overlap, every caption and list entry shows whole,
    // the picker is shown whole or not at all, and everything else stays in view.
    void layout()
    {
        QFETCH(int, widthTwips);
        QFETCH(bool, pickerVisible);
        m_w->form = std::make_unique<Form1>(m_w->platform);
        QCOMPARE(m_w->form->size(), QSize(714, 445)); // as designed, 10710 x 6675 twips: the picker shows whole
        QVERIFY(m_w->start());
        Form1 &form = *m_w->form;
        // Places in twips (left, top, width, height; no size for a label, which fits its caption, or a box).
        struct Place { const char *name; int left, top, width, height; };
        for (const Place &at : {Place{"Command1", 6960, 2040, 735, 375}, {"Command3", 6960, 2520, 735, 375},
                 {"Command2", 6960, 3000, 735, 375}, {"Command4", 6960, 3480, 735, 375},
                 {"Command6", 6360, 4080, 1455, 495}, {"Command5", 6360, 4680, 1455, 495}, {"Label1", 0, 0, 0, 0},
                 {"Label22", 1800, 0, 0, 0},
                 {"Check1", 1920, 285, 0, 0}, {"Check4", 5640, 3165, 0, 0}, {"Text8", 6120, 600, 495, 285},
                 {"Combo1", 1920, 4200, 1215, 315}, {"Image6", 2400, 4995, 480, 480}, {"Label20", 3120, 5280, 0, 0},
                 {"Drive1", 7920, 0, 2775, 315}, {"Dir1", 7920, 360, 2775, 2790}, {"File1", 7920, 3120, 2775, 3600}}) {
            const QRect place = form.findChild<QWidget *>(at.name)->geometry();
            const QRect expected(qRound(at.left / 15.0), qRound(at.top / 15.0), qRound(at.width / 15.0),
                                 qRound(at.height / 15.0));
            QVERIFY2(place.topLeft() == expected.topLeft() && (!at.width || place.size() == expected.size()), at.name);
        }
        form.setOuterWidthTwips(widthTwips);
        QCOMPARE(form.frameGeometry().width(), qRound(widthTwips / 15.0));
        const QRect inside = form.rect();
        const QList<QWidget *> all = form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        const QList<QWidget *> picker = {form.Drive1, form.Dir1, form.File1};
        for (qsizetype i = 0; i < all.size(); ++i) {
            // Boxes of a pair, and the picker's lists, share a border of a pixel or two by design.
            for (qsizetype j = i + 1; j < all.size(); ++j) {
                const QRect shared = all[i]->geometry().intersected(all[j]->geometry());
                QVERIFY2(shared.width() <= 2 || shared.height() <= 2,
                         qPrintable(all[i]->objectName() + " overlaps " + all[j]->objectName()));
            }
            // Every caption, button and text shows whole inside the window.
            const QString caption = all[i]->property("text").toString().trimmed(); // none for a picture or a list
            QVERIFY2(caption.isEmpty() || (inside.contains(all[i]->geometry())
                                           && all[i]->fontMetrics().horizontalAdvance(caption) <= all[i]->width()),
                     qPrintable(all[i]->objectName() + " is cut off"));
            const int shown = all[i]->geometry().intersected(inside).width();
            if (!picker.contains(all[i]))
                QVERIFY2(all[i]->geometry().right() < inside.width(), qPrintable(all[i]->objectName()));
            else
                QVERIFY2(pickerVisible ? all[i]->isVisible() && shown == all[i]->width()
                                       : shown <= 0 || !all[i]->isVisible(),
                         qPrintable(all[i]->objectName()));
        }
        // Every entry of a list shows whole in its edit field.
        for (int n = 1; n <= 7; ++n) {
            QLineEdit *edit = form.combo(n)->lineEdit();
            for (int i = 0; i < form.combo(n)->count(); ++i) {
                const QString entry = form.combo(n)->itemText(i);
                QVERIFY2(edit->fontMetrics().horizontalAdvance(entry) <= edit->contentsRect().width() - 4,
                         qPrintable(entry));
            }
        }
    }

    void settingsExplained()
    {
        QVERIFY(m_w->start());
        Form1 &form = *m_w->form;
        // Every setting's control and caption, the unit labels too, says what the setting does; every
        // control has a name for screen readers.
        const QList<std::tuple<QString, bool, QList<int>>> named = { // true: a name is needed (not a caption)
            {"Check", true, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}}, {"Text", true, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
            {"Combo", true, {1, 2, 3, 4, 5, 6, 7}},
            {"Label", false, {2, 24, 4, 21, 29, 30, 31, 5, 6, 7, 8, 9, 23, 3, 11, 12, 28, 13, 33, 32, 15, 27, 10, 17, 14, 16,
                              18, 19, 25, 35, 26}}};
        for (const auto &[kind, needsName, numbers] : named) {
            for (int n : numbers) {
                auto *widget = form.findChild<QWidget *>(kind + QString::number(n));
                QVERIFY2(widget->toolTip().startsWith("<p>") && (!needsName || !widget->accessibleName().isEmpty()),
                         qPrintable(widget->objectName()));
            }
        }
        const QList<QPair<QString, QString>> names = {{"Check5", "HDR"}, {"Text3", "Brightness"},
            {"Text2", "Field of View (Foot)"}, {"Text8", "Field of View (Ship)"}, {"Text10", "Volume (SFX)"},
            {"Combo7", "Shadow Detail"}};
        for (const auto &[control, name] : names)
            QCOMPARE(form.findChild<QWidget *>(control)->accessibleName(), name);
        // No game yet: every setting's control is greyed and says why; its caption only explains it.
        const QString none = "<p><b>Not read from any file: no game is chosen.</b></p>";
        // Each tip ends in the values the setting takes, if it names them, and where the setting is kept.
        QVERIFY(form.combo(5)->toolTip().startsWith(none));
        QVERIFY(form.combo(5)->toolTip().endsWith("<p>Values: None, FXAA, TAA, TAA_LOW, TAA_FXAA</p><p>AntiAliasingEx2 in "
                                                  "TKGRAPHICSSETTINGS.MXML</p>"));
        QCOMPARE(none + form.label(8)->toolTip(), form.combo(5)->toolTip());
        QVERIFY(form.check(9)->toolTip().startsWith(none));
        QVERIFY(form.check(9)->toolTip().endsWith("<p>MouseClickSpeedMultiplier in TKGRAPHICSSETTINGS.MXML</p>"));
        QCOMPARE(form.text(3)->palette().color(QPalette::Text), QColor(Qt::gray));
        QVERIFY(form.combo(1)->toolTip().endsWith("<p>ResolutionWidth in TKGRAPHICSSETTINGS.MXML, ResolutionHeight in "
                                                  "TKGRAPHICSSETTINGS.MXML</p>"));
        QVERIFY(form.text(10)->toolTip().endsWith("<p>SfxVolume in GCUSERSETTINGSDATA.MXML</p>"));
        // Read, they look and explain themselves as usual; the file deleted and read again, its controls grey again.
        const QString game = m_w->dir.filePath("Game/");
        QVERIFY(copySampleGame(game));
        m_w->loadGame(game);
        QCOMPARE(form.check(9)->toolTip(), form.label(26)->toolTip());
        QCOMPARE(form.text(3)->palette().color(QPalette::Text), form.palette().color(QPalette::Text));
        const QString graphics = game + "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML";
        QVERIFY(QFile::remove(graphics));
        QTest::mouseClick(form.command(3), Qt::LeftButton);
        QCOMPARE(form.check(9)->toolTip(), "<p><b>Not read from any file: " + nativePath(graphics) + " was deleted. Start the "
            "game to make it again, then press Reload.</b></p>" + form.label(26)->toolTip());
        QVERIFY(!form.text(10)->toolTip().startsWith("<p><b>")); // the user settings file was read
        // Another game's folder: what its files do not hold shows as at start-up, not as the first game had it.
        const QString other = m_w->dir.filePath("Other/");
        QVERIFY(writeFile(other + "Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML", "<Data>\n</Data>\n"));
        QVERIFY(form.check(1)->isChecked() && form.check(3)->isChecked());
        m_w->loadGame(other);
        QCOMPARE(QList<bool>({form.check(1)->isChecked(), form.check(3)->isChecked(), form.check(5)->isChecked()}),
                 QList<bool>({false, false, false}));
        QCOMPARE(form.text(3)->text() + ' ' + form.combo(1)->currentText(), "115 320x200");
        for (const QString &both : {form.label(32)->toolTip(), form.label(33)->toolTip()})
            QVERIFY(both.contains("<p>MusicVolume in GCUSERSETTINGSDATA.MXML</p>") && both.endsWith("<p>SfxVolume in "
                                                                                           "GCUSERSETTINGSDATA.MXML</p>"));

        // A click on a check box's caption toggles the box; on any other caption it changes nothing.
        const bool hdr = form.check(5)->isChecked();
        const QString brightness = form.text(3)->text();
        QTest::mouseClick(form.label(18), Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(form.check(5)->isChecked(), !hdr);
        QCOMPARE(QApplication::focusWidget(), form.check(5));
        QTest::mouseClick(form.label(18), Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(form.check(5)->isChecked(), hdr);
        QTest::mouseClick(form.label(13), Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(form.text(3)->text(), brightness);
    }

    // The real services: a message box over the window showing its text as it is, and the clipboard.
    void messageBoxAndClipboard()
    {
        // The picker offers a file whose name looks like markup; the prompt names it as it is.
        const QString folder = m_w->dir.filePath("named");
        const QString name = kWindows ? "&lt;i&gt;QVX.EXE" : "<i>QVX.EXE"; // no "<" in a Windows file name
        QVERIFY(writeFile(folder + "/" + name, "x"));
        QVERIFY(m_w->start());
        Form1 &form = *m_w->form;
        QVERIFY(openFolder(form, folder));
        m_w->platform.answers.enqueue(Platform::No);
        QVERIFY(clickItem(form.File1, name));
        QCOMPARE(m_w->platform.prompts().last(), "Set File: " + name);

        // The real box shows it as plain text, centred over the window, with the window's icon.
        DesktopPlatform desktop;
        desktop.setWindow(&form);
        const auto box = desktop.makeMessageBox("Set File: " + name, Platform::YesNo, "Set this file?");
        QCOMPARE(box->parentWidget(), &form);
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(box->text(), "Set File: " + name);
        QCOMPARE(box->windowTitle(), "Set this file?");
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
        // Risky questions take No or Cancel on Enter; every box is wide enough for its title.
        const auto risky = desktop.makeMessageBox("Go?", Platform::YesNo | Platform::DefaultNo,
                                                  "Delete All Graphics Settings?");
        QCOMPARE(risky->defaultButton(), risky->button(QMessageBox::No));
        QVERIFY(risky->sizeHint().width()
                > QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(risky->windowTitle()) + 100);
        const auto question = desktop.makeQuestionBox("Some settings were changed.", {"Apply", "Discard", "Cancel"},
                                                      "Close Tarnwell?");
        QCOMPARE(question->defaultButton()->text(), "Cancel");
        QCOMPARE(question->escapeButton()->property("answer").toInt(), 2);
        // A choice opens on the item given, the one OK takes ("Launch with..." on the saved way).
        const auto choice = desktop.makeChoiceDialog("Launch with", "How Launch starts", {"Default", "Steam", "Line"}, 2);
        QCOMPARE(choice->findChild<QListView *>()->currentIndex().row(), 2);
        QCOMPARE(choice->textValue(), "Line");
        QCOMPARE(box->windowIcon().pixmap(32).toImage(), form.windowIcon().pixmap(32).toImage());
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        QVERIFY((box->frameGeometry().center() - form.frameGeometry().center()).manhattanLength() <= 2);
        box->close();

        // Asked before the window shows, the box and then the window appear in the middle of the screen
        // (the window give or take its frame, unknown until it shows).
        Form1 later(m_w->platform);
        desktop.setWindow(&later);
        const auto early = desktop.makeMessageBox("Select your Quillvane QVX.EXE to get started!",
                                                  Platform::Information, QString());
        early->show();
        QVERIFY(QTest::qWaitForWindowExposed(early.get()));
        const QPoint middle = later.screen()->availableGeometry().center();
        QVERIFY((early->frameGeometry().center() - middle).manhattanLength() <= 2);
        early->close();
        later.show();
        QVERIFY(QTest::qWaitForWindowExposed(&later));
        QVERIFY((later.frameGeometry().center() - middle).manhattanLength() <= 8);

        desktop.setClipboardText("Unknown Quillvane Version! MD5: 00");
        QCOMPARE(QGuiApplication::clipboard()->text(), "Unknown Quillvane Version! MD5: 00");
    }

    void folderTypeAhead_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("selected");
        QTest::newRow("be") << "be" << "beta";
        QTest::newRow("bra") << "bra" << "Bravo Edition, a name far too long for the folder list to show whole";
        QTest::newRow("al") << "al" << "alpha";
    }

    void folderTypeAhead()
    {
        QFETCH(QString, typed);
        QFETCH(QString, selected);
        const QString games = m_w->dir.filePath("Games");
        const QString longName = "Bravo Edition, a name far too long for the folder list to show whole";
        for (const QString &name : {QString("alpha"), QString("beta"), longName})
            QVERIFY(QDir().mkpath(games + "/" + name + "/deeper"));
        QVERIFY(m_w->start());
        QVERIFY(openFolder(*m_w->form, games));
        QListWidget *list = m_w->form->Dir1;
        QListWidgetItem *here = list->currentItem();
        QCOMPARE(here->text(), "Games"); // the name alone: no blanks in front
        const int row = list->row(here);
        // Depth is drawn: the icon of each level stands further right than the one above it.
        const auto picture = [](const QIcon &icon) { return icon.pixmap(16).toImage(); };
        QTRY_COMPARE(picture(here->icon()), picture(list->style()->standardIcon(QStyle::SP_DirOpenIcon)));
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
        QCOMPARE(longRow->toolTip(), nativePath(games + "/" + longName));
        QVERIFY(list->visualItemRect(longRow).right() < list->viewport()->width());
        QVERIFY(list->fontMetrics().horizontalAdvance(longName) > list->viewport()->width());

        list->setFocus();
        QTest::keyClicks(list, typed);
        QCOMPARE(list->currentItem()->text(), selected);
        QCOMPARE(dir1Path(*m_w->form), nativePath(games + "/" + selected));
    }

    void pickerPictures_data()
    {
        QTest::addColumn<bool>("registered"); // a game registered: the window starts with the picker put away
        QTest::newRow("picker shown at start") << false;
        QTest::newRow("picker put away at start") << true;
    }

    // The drives and folders show the style's pictures once the window is up, whether the picker is
    // in it or comes out later: open folders down to the current one, closed ones below it.
    void pickerPictures()
    {
        QFETCH(bool, registered);
        const QString game = m_w->dir.filePath("Game");
        QVERIFY(copySampleGame(game));
        QVERIFY(makeProgramFolder(m_w->dir.path(), registered ? game + "/Binaries/QVX.EXE" : QString()));
        QVERIFY(m_w->start());
        Form1 &form = *m_w->form;
        QCOMPARE(form.Dir1->isVisible(), !registered);
        const auto image = [](const QIcon &icon) { return icon.pixmap(16).toImage(); };
        const auto style = [&](QStyle::StandardPixmap which) { return image(form.style()->standardIcon(which)); };
        QTRY_COMPARE(image(form.Drive1->itemIcon(0)), style(QStyle::SP_DriveHDIcon));
        for (int i = 1; i < form.Drive1->count(); ++i)
            QCOMPARE(image(form.Drive1->itemIcon(i)), style(QStyle::SP_DriveHDIcon));
        const int current = form.Dir1->currentRow();
        QVERIFY(current >= 0 && form.Dir1->count() > 0);
        for (int i = 0; i < form.Dir1->count(); ++i) {
            QCOMPARE(image(form.Dir1->item(i)->icon()),
                     style(i <= current ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon));
        }
    }

    void picturesRenderedAhead_data()
    {
        QTest::addColumn<int>("picture"); // in artwork::pictures()
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QString>("name");
        QTest::newRow("background 1x") << 0 << 1.0 << "background@1x.argb";
        QTest::newRow("background 2x") << 0 << 2.0 << "background@2x.argb";
        QTest::newRow("banner 1x") << 1 << 1.0 << "banner@1x.argb";
        QTest::newRow("banner 2x") << 1 << 2.0 << "banner@2x.argb";
        QTest::newRow("icon 1x") << 2 << 1.0 << "icon@1x.argb";
        QTest::newRow("icon 1.5x") << 2 << 1.5 << "icon@1.5x.argb";
        QTest::newRow("icon 2x") << 2 << 2.0 << "icon@2x.argb";
        for (int n = 1; n <= 6; ++n) {
            QTest::addRow("link%d 1x", n) << 2 + n << 1.0 << QString("link%1@1x.argb").arg(n);
            QTest::addRow("link%d 2x", n) << 2 + n << 2.0 << QString("link%1@2x.argb").arg(n);
        }
    }

    // What the build rendered ahead is, to the pixel, what the window would draw from the vector source.
    void picturesRenderedAhead()
    {
#ifndef TARNWELL_PRERENDERED
        QSKIP("A cross build leaves the pictures to the program, which renders them as it starts.");
#endif
        QFETCH(int, picture);
        QFETCH(qreal, ratio);
        QFETCH(QString, name);
        artwork::substituteFaces(); // as for the window's captions
        const artwork::Picture shown = artwork::pictures().at(picture);
        QCOMPARE(artwork::prerenderedName(shown, ratio), name);
        const QImage drawn = artwork::render(artwork::source(shown), shown, ratio);
        const QResource ahead(":/prerendered/" + name);
        QVERIFY(ahead.isValid());
        const QByteArray pixels(reinterpret_cast<const char *>(drawn.constBits()), drawn.sizeInBytes());
        QCOMPARE(ahead.uncompressedData(), pixels);
        QCOMPARE(artwork::pixmap(shown, ratio).toImage().convertToFormat(drawn.format()), drawn);
    }

    void bannerArea_data()
    {
        QTest::addColumn<Host>("host");
        QTest::addColumn<QByteArray>("reply"); // what the host answers
        QTest::addColumn<bool>("pageShown");
        QTest::newRow("no banner module") << Host::NoModule << QByteArray() << false;
#ifdef TARNWELL_BANNER_HOST // Qt Network serves the page; the Windows build with MinGW has neither it nor a banner
        const QByteArray html = "\r\nContent-Type: text/html\r\n\r\n";
        QTest::newRow("page loads") << Host::Answers << "HTTP/1.0 200 OK" + html + "<p>Ad</p>" << true;
        QTest::newRow("error page") << Host::Answers << "HTTP/1.0 404 Not Found" + html + "<p>No</p>" << false;
        QTest::newRow("connection dropped") << Host::Drops << QByteArray() << false;
        QTest::newRow("host unreachable") << Host::Gone << QByteArray() << false;
#endif
    }

    // The banner area shows its own picture until a page has loaded, whatever becomes of the page, and
    // the window works beside it.
    void bannerArea()
    {
        QFETCH(Host, host);
        QFETCH(QByteArray, reply);
        QFETCH(bool, pageShown);
        QVERIFY(copySampleGame(m_w->dir.filePath("Game")));
        QVERIFY(m_w->start()); // the program folder holds no banner module
        Form1 &form = *m_w->form;
        QCOMPARE(form.WebBrowser1->geometry(), QRect(0, 368, 529, 81));
        QCOMPARE(tarnwell::links::bannerAddress(), "http://ads.example.net/units/tarnwell-468x60?size=468x60&"
                 "background_color=CCCCCC&title_color=0000ff&link_color=313370&text_color=ffffff&title_hover_color=ff8c00"
                 "&link_hover_color=ff8c00");
        const QImage picture = form.WebBrowser1->grab().toImage();
        QCOMPARE(picture.pixelColor(2, 2), QColor(0x0A, 0x1A, 0x28)); // the dark foot around the picture
        QSet<QRgb> colours; // a picture, not a plain box
        for (int at = 0; at < picture.width() * picture.height(); ++at)
            colours.insert(picture.pixel(at % picture.width(), at / picture.width()));
        QVERIFY2(colours.size() > 200, qPrintable(QString::number(colours.size())));
#ifdef TARNWELL_BANNER_HOST
        if (host != Host::NoModule) {
            if (tarnwell::findBannerModule(TARNWELL_BUILD_DIR).isEmpty())
                QSKIP("built without Qt WebEngine");
#ifdef TARNWELL_SANITIZED
            // The web engine's own code frees a page it has loaded with a size AddressSanitizer disputes.
            if (host != Host::Gone)
                QSKIP("a loaded page trips AddressSanitizer inside the web engine library");
#endif
            // A banner host on this machine answers once, or is gone before it is asked.
            QTcpServer server;
            QVERIFY(server.listen(QHostAddress::LocalHost));
            const quint16 port = server.serverPort();
            connect(&server, &QTcpServer::newConnection, &server, [&] {
                QTcpSocket *socket = server.nextPendingConnection();
                connect(socket, &QTcpSocket::readyRead, socket, [socket, reply] {
                    socket->write(reply); // nothing when it drops the connection
                    socket->disconnectFromHost();
                });
            });
            if (host == Host::Gone)
                server.close();
            const QString address = QString("http://127.0.0.1:%1/ad").arg(port);
            QVERIFY(tarnwell::links::loadBanner(TARNWELL_BUILD_DIR, form.WebBrowser1, address));
            QWidget *view = form.WebBrowser1->findChild<QWidget *>("BannerView");
            QVERIFY(view && !view->isVisible()); // the picture stays until the page has loaded
            QCOMPARE(view->geometry(), form.WebBrowser1->rect());
            QCOMPARE(view->minimumSize(), view->maximumSize()); // not resizable
            QSignalSpy loaded(view, SIGNAL(loadFinished(bool)));
            QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, 30000);
            QCOMPARE(loaded.first().first().toBool(), pageShown);
            QCOMPARE(view->isVisible(), pageShown);
        }
#else
        Q_UNUSED(host) // only the row without a module runs where no page can be served
        Q_UNUSED(pageShown)
#endif
        // "Apply" writes the game's settings whatever became of the banner.
        m_w->loadGame(m_w->dir.filePath("Game/"));
        QTest::mouseClick(form.check(5), Qt::LeftButton);
        QTest::mouseClick(form.command(1), Qt::LeftButton);
        QTRY_VERIFY(!form.isBusy());
        QCOMPARE(m_w->platform.prompts().last(), "Settings written to file!");
        QVERIFY(readFile(m_w->dir.filePath("Game/Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML"))
                    .contains(" <Property name=\"UseHDR\" value=\"false\" />\n"));
    }

private:
    std::unique_ptr<TestWindow> m_w;
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
