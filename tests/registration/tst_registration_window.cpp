// SPDX-License-Identifier: MIT
// Registering the game in the real window: start-up with a stored executable, the version check and
// the caption that shows it, the configuration file on disk, and the picker driven through its own lists.
#include "common/playermachine.h"
#include "common/systemtest.h"
#include "common/testsupport.h"
#include "statuslabel.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QDropEvent>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>
#include <QPointer>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QToolTip>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace testsupport;

namespace {

const QString kFatal = "Fatal Error: QVX.dat verification missing. Reinstall Tarnwell";
const QString kSelect = "Select your Quillvane QVX.EXE to get started!";
const QString kAsk = "Set File: QVX.EXE";
const QString kDetected = "Quillvane Sample Installation Detected!";
const QString kNotSet = "Not Set"; // the status while no game is registered: nothing was read
const QByteArray kOtherBuild = "another build"; // an executable the known-versions file does not name
const QString kUnknown = "Unknown Quillvane Version! MD5: B1079DD132EC9BAFBE297272507F5CF8";
const QString kLongName = "Quillvane Collector's Edition, Build 2025.11.30 with the Expeditions, Frontier and Deep "
                          "Space Packs Detected!"; // too long for the caption at 8100 twips
const QString kLongNameShown = "Quillvane Collector's Edition, Build 2025.11.30 with the Expeditions, Frontier and "
                               "De\u2026"; // cut where it reaches the picker's column, an ellipsis after it

// What Tarnwell.dat names at start-up (Short: a file in /tmp); how the run differs (Named: another build that
// the known-versions file names as the status says, Far: a non-Latin folder); the move after the search.
enum class Stored { Nothing, Game, Unreadable, Short };
enum class Setup { Plain, Other, Named, Far, Gone, NoList, ConfigIsFolder, Keyboard, Unplugged };
enum class Move { Stay, DriveEntry, MenuEntry, TypePath, NoneFound };
// Whether QVX.EXE is picked after the start, and the answer to "Set this file?" then.
enum class Pick { Nothing, No, Yes };
// How another executable is chosen once a game is registered.
enum class Chosen { CaptionThenFile, DroppedOther, DroppedUnreadable };
// What the keyboard does in the picker and the window.
enum class Keys { ArrowsToSecondFound, CtrlQ, EscapePutsPickerAway, FocusShown, FieldLeft, LocalhostAddress };
// The ways another executable replaces the registered one.
enum class Route { Click, FoundEntry, Typed, Dropped };
// Which of the player's lists cannot be read, and why.
enum class Unreadable { TrailingComma, LargeList, LargeConfig };
// How the large executable of a player's machine comes in: registered already, or typed with Ctrl+L.
enum class Large { Registered, Typed };

} // namespace

class TestRegistrationWindow : public QObject
{
    Q_OBJECT

private slots:
    void registration_data()
    {
        QTest::addColumn<Stored>("stored"); // what Tarnwell.dat names
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<Pick>("pick");
        QTest::addColumn<QStringList>("prompts");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("widthTwips"); // 0: the designed width was never changed
        const QStringList none, select{kSelect}, asked{kSelect, kAsk};
        using enum Stored;
        using enum Setup;
        constexpr Pick nothing = Pick::Nothing, no = Pick::No, yes = Pick::Yes;
        QTest::newRow("first start") << Nothing << Plain << nothing << select << kNotSet << 11000;
        QTest::newRow("first start without known-versions file") << Nothing << NoList << nothing << select << kNotSet << 11000;
        QTest::newRow("detected") << Game << Plain << nothing << none << kDetected << 8100;
        QTest::newRow("unknown version") << Game << Other << nothing << none << kUnknown << 8100;
        QTest::newRow("release name with markup") << Game << Named << nothing << none << "<i>x</i> & <b>y</b> Detected!" << 8100;
        QTest::newRow("release name too long") << Game << Named << nothing << none << kLongName << 8100;
        QTest::newRow("executable vanished") << Game << Gone << nothing << none << kNotSet << 0;
        QTest::newRow("known-versions file missing") << Game << NoList << nothing << QStringList{kFatal} << kNotSet << 0;
        // There, yet its first bytes cannot be read, even by the superuser.
        QTest::newRow("unreadable executable") << Unreadable << Plain << nothing
            << QStringList{"Cannot read the game executable /proc/self/mem: Input/output error."} << kNotSet << 0;
        // Another file's game folder is the one above its own: here the root, which holds no settings files.
        QTest::newRow("another file in a top folder") << Short << Plain << nothing << QStringList{} << kUnknown << 8100;
        QTest::newRow("pick, No changes nothing") << Nothing << Plain << no << asked << kNotSet << 11000;
        QTest::newRow("pick, Yes, detected") << Nothing << Plain << yes << asked << kDetected << 8100;
        QTest::newRow("pick, Yes, folder beyond any 8-bit code page") << Nothing << Far << yes << asked << kDetected << 8100;
        QTest::newRow("pick, Yes, file gone meanwhile") << Nothing << Gone << yes << asked << kNotSet << 8000;
        QTest::newRow("pick, Yes without known-versions file") << Nothing << NoList << yes << asked + QStringList{kFatal} << kNotSet << 8000;
        QTest::newRow("pick, Yes, configuration cannot be saved") << Nothing << ConfigIsFolder << yes
            << QStringList{"Cannot read <tmp>/program/Tarnwell.dat: it is a folder, not a file.", kSelect, kAsk,
                           "Cannot save the game's path to <tmp>/program/Tarnwell.dat: it is a folder, not a "
                           "file.\nIt will have to be chosen again at the next start."} << kDetected << 8100;
        QTest::newRow("pick with Enter from the keyboard") << Nothing << Keyboard << yes << asked << kDetected << 8100;
        QTest::newRow("pick after an unplugged drive") << Nothing << Unplugged << yes
            << QStringList{kSelect, "Drive <tmp>/unplugged/ cannot be opened: the drive is not there.", kAsk}
            << kDetected << 8100;
    }

    void registration()
    {
        QFETCH(Stored, stored);
        QFETCH(Setup, setup);
        QFETCH(Pick, pick);
        QFETCH(QStringList, prompts);
        QFETCH(QString, status);
        QFETCH(int, widthTwips);
        if (stored == Stored::Unreadable)
            UNIX_ONLY("a file that is there but cannot be read, in /proc");
        // The program folder, and a copy of the sample installation as the game.
        QTemporaryDir tmp;
        const QString program = tmp.filePath("program"), config = program + "/Tarnwell.dat";
        const QString far = QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC \xC3\x9C" "ber"); // beyond any 8-bit code page
        const QString game = tmp.filePath(setup == Setup::Far ? far : "Game");
        const QString exe = game + "/Binaries/QVX.EXE";
        QVERIFY(copySampleGame(game));
        QVERIFY((setup != Setup::Other && setup != Setup::Named) || writeFile(exe, kOtherBuild));
        QTemporaryFile shortExe("/tmp/twXXXXXX");
        QVERIFY(stored != Stored::Short || (shortExe.open() && shortExe.write(kOtherBuild) > 0 && shortExe.flush()));
        const QString named = stored == Stored::Game ? exe : stored == Stored::Short ? shortExe.fileName()
                            : stored == Stored::Unreadable ? "/proc/self/mem" : "";
        QVERIFY(makeProgramFolder(program, named));
        QVERIFY(setup != Setup::NoList || QFile::remove(program + "/dat/QVX.dat"));
        QVERIFY(setup != Setup::Named || writeFile(program + "/dat/QVX.dat", "b1079dd132ec9bafbe297272507f5cf8 "
                                                                         + status.chopped(10).toUtf8() + "\r\n"));
        QVERIFY(setup != Setup::ConfigIsFolder || QDir().mkpath(config)); // no one, not even the superuser, can write there
        QVERIFY(setup != Setup::Gone || pick != Pick::Nothing || QFile::remove(exe));
        const QByteArray configBefore = readFile(config);

        FakePlatform platform(program);
        Form1 form(platform);
        QVERIFY(start(form)); // the digest runs beside the window
        if (pick != Pick::Nothing) {
            QCOMPARE(form.outerWidthTwips(), 11000);
            if (setup == Setup::Unplugged) { // a message, and the lists keep what they showed
                const QString home = dir1Path(form), drive = form.Drive1->currentData().toString();
                form.Drive1->addItem("unplugged", tmp.filePath("unplugged/"));
                form.Drive1->setFocus();
                QTest::keyClick(form.Drive1, Qt::Key_End);
                QTRY_VERIFY(!form.isReadingFolder());
                QCOMPARE(form.Drive1->currentData().toString(), drive);
                QCOMPARE(dir1Path(form), home);
            }
            QVERIFY(openFolder(form, QFileInfo(exe).path()));
            QVERIFY(setup != Setup::Gone || QFile::remove(exe));
            platform.answers.enqueue(pick == Pick::Yes ? Platform::Yes : Platform::No);
            if (setup == Setup::Keyboard) { // moving to the file asks nothing; Enter then asks about it
                form.File1->setFocus();
                QVERIFY(QTest::qWaitForWindowActive(&form));
                form.File1->setCurrentItem(form.File1->findItems("QVX.EXE", Qt::MatchExactly).value(0));
                QTest::keyClick(form.File1, Qt::Key_Return);
            } else {
                QVERIFY(clickItem(form.File1, "QVX.EXE"));
            }
            QTRY_VERIFY(!form.isChecking());
        }
        // Every prompt in order, with its buttons and title; the fatal one closes the window.
        QCOMPARE(platform.prompts(), prompts.replaceInStrings("<exe>", named)
                     .replaceInStrings("<tmp>/program/", nativePath(tmp.path() + "/program/"))
                     .replaceInStrings("<tmp>", tmp.path()));
        for (const FakePlatform::Message &message : platform.messages) {
            const QString &prompt = message.prompt;
            QCOMPARE(message.options, prompt == kAsk      ? Platform::YesNo
                                      : prompt == kSelect ? Platform::Information
                                      : prompt == kFatal  ? Platform::OkOnly
                                                          : Platform::Exclamation);
            QCOMPARE(message.title, QString(prompt == kAsk ? "Set this file?" : ""));
        }
        QCOMPARE(platform.closes, int(prompts.contains(kFatal)));
        QCOMPARE(form.isClosed(), prompts.contains(kFatal));

        QCOMPARE(form.label(22)->text(), status);
        QCOMPARE(form.outerWidthTwips(), widthTwips);
        if (pick == Pick::Yes && !form.isClosed()) // the picker is gone; the chosen game's settings come next
            QCOMPARE(form.focusWidget(), form.command(1));
        auto *caption = qobject_cast<StatusLabel *>(form.label(22));
        if (!form.isClosed()) { // the caption as text, whole or cut with the whole in its tooltip; a click copies it
            QVERIFY(caption->textFormat() == Qt::PlainText && caption->shownFont().pointSizeF() >= 7.5);
            // Within the first 7935 twips and above the row at 240, in a face no smaller than the lists' own.
            QVERIFY(caption->geometry().right() < 529 && caption->geometry().bottom() < 16);
            QVERIFY(caption->width() >= QFontMetrics(caption->shownFont()).horizontalAdvance(caption->shownText()));
            const QString shown = caption->shownText();
            if (status != kLongName)
                QCOMPARE(shown, status);
            else // Windows's glyph widths may move the cut by a letter
                QVERIFY2(kWindows ? shown.endsWith(QChar(0x2026)) && kLongNameShown.startsWith(shown.left(80))
                                  : shown == kLongNameShown, qPrintable(shown));
            QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), caption->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(caption, &help);
            QVERIFY(status != kLongName || QToolTip::text().contains(status));
            QTest::mouseClick(caption, Qt::LeftButton, {}, QPoint(2, 2));
            QCOMPARE(platform.clipboard, status);
            QCOMPARE(platform.prompts(), prompts); // the copy shows nothing
        }
        const QString registered = pick == Pick::Yes ? nativePath(exe) : named; // as the picker gives it
        QCOMPARE(form.GameExePath, registered);
        if (setup == Setup::ConfigIsFolder)
            QVERIFY(QFileInfo(config).isDir());
        else // start-up and No only read it; Yes stores the choice whatever the check found
            QCOMPARE(readFile(config), pick == Pick::Yes ? "QVXEXE=" + registered.toUtf8() + "\r\n" : configBefore);
        if (stored == Stored::Short) {
            QCOMPARE(form.GameFolder + ' ' + form.GraphicsSettingsPath, kWindows ? "Z:\\ Z:\\Binaries\\SETTINGS\\TKGRAPHICSSETTINGS.MXML"
                                                                              : "/ /Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML");
            QCOMPARE(form.text(3)->text(), QStringLiteral("115")); // as at start-up, greyed: no file holds it
        } else if (status == kNotSet) {
            QVERIFY(form.GameFolder.isEmpty() && form.GraphicsSettingsPath.isEmpty() && form.UserSettingsPath.isEmpty());
        } else { // a version shown: the sample's settings were read from the game folder
            QCOMPARE(form.GameFolder, registered.chopped(16));
            QCOMPARE(form.label(22)->toolTip(), "Click to copy\n\nQuillvane QVX.EXE: " + nativePath(registered)
                                                    + "\nGame folder: " + nativePath(registered.chopped(16)));
            QCOMPARE(form.text(3)->text(), QStringLiteral("120")); // Brightness
            QCOMPARE(form.text(11)->text(), QStringLiteral("65")); // MusicVolume, from the user file
        }
    }

    void chooseAgain_data()
    {
        QTest::addColumn<Chosen>("how");
        QTest::addColumn<Platform::Answer>("answer");
        QTest::addColumn<QString>("status");
        using enum Chosen;
        QTest::newRow("caption, then another file, Yes") << CaptionThenFile << Platform::Yes << kUnknown;
        QTest::newRow("dropped file, Yes") << DroppedOther << Platform::Yes << kDetected;
        QTest::newRow("dropped file, No") << DroppedOther << Platform::No << kDetected;
        // The game read before must not stay the one that "Apply" and "Del All Settings " act on.
        QTest::newRow("dropped unreadable file, Yes") << DroppedUnreadable << Platform::Yes << kNotSet;
    }

    void chooseAgain()
    {
        QFETCH(Chosen, how);
        QFETCH(Platform::Answer, answer);
        QFETCH(QString, status);
        if (how == Chosen::DroppedUnreadable)
            UNIX_ONLY("a file that is there but cannot be read, in /proc");
        QTemporaryDir tmp;
        const QString program = tmp.filePath("program"), game = tmp.filePath("Game"), other = tmp.filePath("Other");
        QVERIFY(copySampleGame(game) && copySampleGame(other));
        QVERIFY(writeFile(game + "/Binaries/QVX_OLD.EXE", kOtherBuild));
        QVERIFY(makeProgramFolder(program, game + "/Binaries/QVX.EXE"));
        FakePlatform platform(program);
        Form1 form(platform);
        QVERIFY(start(form));
        QCOMPARE(form.outerWidthTwips(), 8100);
        platform.answers.enqueue(answer);

        QString chosen = how == Chosen::DroppedUnreadable ? "/proc/self/mem" : other + "/Binaries/QVX.EXE";
        if (how == Chosen::CaptionThenFile) { // the picker comes back at the registered executable's folder
            QVERIFY(form.label(1)->toolTip().contains("choose another"));
            QTest::mouseClick(form.label(1), Qt::LeftButton);
            QCOMPARE(form.outerWidthTwips(), 11000);
            QVERIFY(form.File1->isVisible());
            QTRY_COMPARE(dir1Path(form), nativePath(game + "/Binaries"));
            QVERIFY(clickItem(form.File1, "QVX_OLD.EXE"));
            chosen = game + "/Binaries/QVX_OLD.EXE";
        } else {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(chosen)});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&form, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&form, &drop);
        }
        QTRY_VERIFY(!form.isChecking());
        QCOMPARE(platform.prompts().value(0), "Set File: " + QFileInfo(chosen).fileName());
        QCOMPARE(platform.messages.value(0).title, QString("Set this file?"));
        const QString registered = answer == Platform::Yes ? nativePath(chosen) : game + "/Binaries/QVX.EXE";
        QCOMPARE(form.GameExePath, registered);
        QCOMPARE(readFile(program + "/Tarnwell.dat"), "QVXEXE=" + registered.toUtf8() + "\r\n");
        QCOMPARE(form.label(22)->text(), status); // never the release of a game no longer registered
        if (how == Chosen::DroppedUnreadable) {
            QCOMPARE(platform.prompts().value(1), "Cannot read the game executable /proc/self/mem: Input/output error.");
            QVERIFY(form.GameFolder.isEmpty() && form.GraphicsSettingsPath.isEmpty() && form.UserSettingsPath.isEmpty());
        }
    }

    // Every confirmed executable is remembered, most recent first; "Recent installations" switches back
    // after the question about unapplied edits, reads the other game's files, and Tarnwell.dat names it alone.
    void switchInstallations()
    {
        QTemporaryDir tmp;
        const QString program = tmp.filePath("program"), a = tmp.filePath("A"), b = tmp.filePath("B");
        QVERIFY(copySampleGame(a) && copySampleGame(b) && makeProgramFolder(program));
        const QString graphicsB = b + "/Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML";
        QVERIFY(writeFile(graphicsB, readFile(graphicsB).replace("\"Brightness\" value=\"120\"", "\"Brightness\" value=\"77\"")));
        FakePlatform platform(program);
        Form1 form(platform);
        QVERIFY(start(form));
        for (const QString &game : {a, b}) {
            QVERIFY(openFolder(form, game + "/Binaries"));
            platform.answers.enqueue(Platform::Yes);
            QVERIFY(clickItem(form.File1, "QVX.EXE"));
            QTRY_VERIFY(!form.isBusy());
        }
        const auto recent = [&form] {
            emit form.recentMenu()->aboutToShow();
            QStringList paths;
            for (const QAction *action : form.recentMenu()->actions())
                paths << action->text();
            return paths;
        };
        const QString exeA = nativePath(a + "/Binaries/QVX.EXE"), exeB = nativePath(b + "/Binaries/QVX.EXE");
        QCOMPARE(recent(), QStringList({exeB, exeA}));
        QCOMPARE(form.text(3)->text(), QString("77"));
        QTest::keyClicks(form.text(3), "5");
        platform.messages.clear();
        for (const int press : {1, 0}) { // Cancel, then "Discard and switch"
            platform.pressed.enqueue(press);
            recent();
            form.recentMenu()->actions().value(1)->trigger();
            QTRY_VERIFY(!form.isBusy());
            QCOMPARE(form.GameExePath, press ? exeB : exeA);
        }
        QCOMPARE(platform.messages.size(), 2);
        QCOMPARE(platform.messages[0].title, QString("Switch installation?"));
        QCOMPARE(platform.messages[0].buttonTexts, QStringList({"Discard and switch", "Cancel"}));
        QCOMPARE(form.text(3)->text(), QString("120")); // A's own file
        QCOMPARE(readFile(program + "/Tarnwell.dat"), "QVXEXE=" + exeA.toUtf8() + "\r\n");
        QCOMPARE(recent(), QStringList({exeA, exeB}));
    }

    // Installations found in the home folder: the picker waits at the first with QVX.EXE selected,
    // each is an entry after the drives and in the lists' menu; a typed path opens a folder or offers a file.
    void found_data()
    {
        QTest::addColumn<Move>("move");      // after the search
        QTest::addColumn<QString>("typed");  // into the path field; %H the home folder
        QTest::addColumn<QString>("folder"); // what Dir1 then shows; %H the home folder
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QStringList>("prompts");
        const QString steam = "%H/.local/share/Steam/steamapps/common/Quillvane/Binaries", copy = "%H/Games/Quillvane Copy/Binaries";
        QTest::newRow("the first, selected") << Move::Stay << "" << steam << "QVX.EXE" << QStringList{kSelect};
        QTest::newRow("Drive1 entry") << Move::DriveEntry << "" << copy << "QVX.EXE" << QStringList{kSelect};
        QTest::newRow("menu entry") << Move::MenuEntry << "" << copy << "QVX.EXE" << QStringList{kSelect};
        QTest::newRow("typed folder") << Move::TypePath << "%H/Games" << "%H/Games" << "" << QStringList{kSelect};
        QTest::newRow("typed file") << Move::TypePath << "~/Games/Quillvane Copy/Binaries/QVX.EXE" << copy << "QVX.EXE"
                                    << QStringList{kSelect, kAsk};
        QTest::newRow("typed nothing") << Move::TypePath << "%H/none" << steam << "QVX.EXE"
                                       << QStringList{kSelect, "%H/none cannot be opened: nothing is there."};
        QTest::newRow("nothing found") << Move::NoneFound << "" << QDir::homePath() << "" << QStringList{kSelect};
    }

    void found()
    {
        QFETCH(Move, move);
        QFETCH(QString, typed);
        QFETCH(QString, folder);
        QFETCH(QString, selected);
        QFETCH(QStringList, prompts);
        QTemporaryDir tmp;
        FakePlatform platform(tmp.filePath("program"));
        const QString home = platform.home.path(), steam = home + "/.local/share/Steam/steamapps/";
        QVERIFY(makeProgramFolder(platform.folder));
        const bool any = move != Move::NoneFound;
        QVERIFY(!any || (copySampleGame(steam + "common/Quillvane") && copySampleGame(home + "/Games/Quillvane Copy")));
        QVERIFY(!any || writeFile(steam + "appmanifest_4711.acf", "\"AppState\" { \"installdir\" \"Quillvane\" }"));
        Form1 form(platform);
        QVERIFY(start(form));
        QTRY_VERIFY(!form.isSearching() && !form.isReadingFolder());

        const int drives = form.Drive1->count() - (any ? 2 : 0);
        QStringList entries, tips, menu;
        for (int i = drives; i < form.Drive1->count(); ++i)
            entries << form.Drive1->itemText(i), tips << form.Drive1->itemData(i, Qt::ToolTipRole).toString();
        for (const QAction *action : form.File1->actions())
            menu << action->text();
        const QStringList captions{"Steam: Quillvane", "Games: Quillvane Copy"};
        QCOMPARE(entries, any ? captions : QStringList());
        const QStringList paths{nativePath(steam + "common/Quillvane/Binaries/QVX.EXE"),
                                nativePath(home + "/Games/Quillvane Copy/Binaries/QVX.EXE")};
        QCOMPARE(tips, any ? paths : QStringList());
        const QStringList menuFound = any ? QStringList{""} + captions : QStringList();
        QCOMPARE(menu, QStringList({"Type a path...\tCtrl+L", "Recent installations"}) + menuFound);
        platform.answers.enqueue(Platform::Yes);
        if (move == Move::DriveEntry) {
            form.Drive1->setCurrentIndex(drives + 1);
            emit form.Drive1->activated(drives + 1);
        } else if (move == Move::MenuEntry) {
            form.File1->actions().last()->trigger();
        } else if (move == Move::TypePath) { // Ctrl+L, as in file dialogs
            QVERIFY(QTest::qWaitForWindowActive(&form));
            QTest::keyClick(form.File1, Qt::Key_L, Qt::ControlModifier);
            QVERIFY(form.pathEdit()->isVisible() && form.pathEdit()->hasSelectedText());
            QTest::keyClicks(form.pathEdit(), typed.replace("%H", home));
            QTest::keyClick(form.pathEdit(), Qt::Key_Return);
            QTRY_VERIFY(!form.isReadingFolder());
            // What names nothing stays in the field, to be mended rather than typed again.
            const bool mistyped = typed.endsWith("/none");
            QCOMPARE(form.pathEdit()->isVisible(), mistyped);
            QCOMPARE(form.pathEdit()->text(), mistyped ? typed : QString());
        }
        QTRY_VERIFY(!form.isChecking() && !form.isReadingFolder());
        QCOMPARE(dir1Path(form), nativePath(folder.replace("%H", home)));
        QCOMPARE(form.File1->currentItem() ? form.File1->currentItem()->text() : QString(), selected);
        QCOMPARE(platform.prompts(), prompts.replaceInStrings("%H/none", nativePath(home + "/none")));
        QCOMPARE(form.label(22)->text(), prompts.contains(kAsk) ? kDetected : kNotSet); // selected, never confirmed
    }

    void keys_data()
    {
        QTest::addColumn<Keys>("keys");
        QTest::newRow("arrows reach the second installation found") << Keys::ArrowsToSecondFound;
        QTest::newRow("Ctrl+Q quits") << Keys::CtrlQ;
        QTest::newRow("Escape puts the picker away") << Keys::EscapePutsPickerAway;
        QTest::newRow("the file list shows its focus") << Keys::FocusShown;
        QTest::newRow("the typed path closes when the focus leaves") << Keys::FieldLeft;
        QTest::newRow("file://localhost/ is this machine") << Keys::LocalhostAddress;
    }

    void keys()
    {
        QFETCH(Keys, keys);
        QTemporaryDir tmp;
        FakePlatform platform(tmp.filePath("program"));
        const QString home = platform.home.path(), copy = home + "/Games/Quillvane Copy";
        QVERIFY(copySampleGame(home + "/Games/Quillvane") && copySampleGame(copy));
        const bool registered = keys == Keys::EscapePutsPickerAway;
        QVERIFY(makeProgramFolder(platform.folder, registered ? copy + "/Binaries/QVX.EXE" : QString()));
        Form1 form(platform);
        QVERIFY(start(form));
        QTRY_VERIFY(!form.isSearching() && !form.isBusy());
        QVERIFY(QTest::qWaitForWindowActive(&form));
        switch (keys) {
        case Keys::ArrowsToSecondFound: // the list closed: each key moves on from where it stands
            form.Drive1->setFocus();
            while (form.Drive1->currentText() != "Games: Quillvane")
                QTest::keyClick(form.Drive1, Qt::Key_Down);
            QTRY_COMPARE(dir1Path(form), nativePath(home + "/Games/Quillvane/Binaries"));
            QTest::keyClick(form.Drive1, Qt::Key_Down);
            QCOMPARE(form.Drive1->currentText(), "Games: Quillvane Copy");
            QTRY_COMPARE(dir1Path(form), nativePath(copy + "/Binaries"));
            break;
        case Keys::CtrlQ:
            QTest::keyClick(form.File1, Qt::Key_Q, Qt::ControlModifier);
            QCOMPARE(platform.closes, 1);
            break;
        case Keys::EscapePutsPickerAway:
            QTest::mouseClick(form.label(1), Qt::LeftButton);
            QTRY_VERIFY(!form.isBusy());
            QCOMPARE(form.outerWidthTwips(), 11000);
            form.File1->setFocus();
            QTest::keyClick(form.File1, Qt::Key_Escape);
            QCOMPARE(form.outerWidthTwips(), 8100);
            QCOMPARE(QApplication::focusWidget(), form.command(1));
            break;
        case Keys::FocusShown:
            QVERIFY(openFolder(form, copy + "/Binaries/SETTINGS"));
            QVERIFY(!form.File1->currentItem());
            form.File1->setFocus();
            QVERIFY(form.File1->currentItem() && form.File1->selectedItems().isEmpty()); // shown, not chosen
            break;
        case Keys::FieldLeft:
            QTest::keyClick(form.File1, Qt::Key_L, Qt::ControlModifier);
            QTest::keyClicks(form.pathEdit(), "/nowhere");
            QTest::mouseClick(form.Dir1->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
            QTRY_VERIFY(!form.pathEdit()->isVisible());
            QTest::keyClick(form.File1, Qt::Key_L, Qt::ControlModifier);
            QCOMPARE(form.pathEdit()->text(), nativePath(home + "/Games/Quillvane/Binaries")); // the open folder again
            break;
        case Keys::LocalhostAddress:
            QTest::keyClick(form.File1, Qt::Key_L, Qt::ControlModifier);
            QTest::keyClicks(form.pathEdit(), "file://localhost" + QUrl::fromLocalFile(copy).path());
            QTest::keyClick(form.pathEdit(), Qt::Key_Return);
            QTRY_VERIFY(!form.isBusy());
            QCOMPARE(dir1Path(form), nativePath(copy));
            break;
        }
    }

    // Recent installations: at most 20, the registered one ticked; one that is gone (a disk unplugged), or
    // a named pipe where it stood, is said to be unusable and changes nothing.
    void recentMenu_data()
    {
        QTest::addColumn<QString>("chosen"); // the entry chosen after the menu was looked at
        QTest::addColumn<QString>("why");
        QTest::newRow("an installation that is gone") << "gone" << "it is no longer there";
        QTest::newRow("a named pipe where one stood") << "fifo" << "it is a named pipe (FIFO), not a regular file";
    }

    void recentMenu()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, why);
        QTemporaryDir tmp;
        FakePlatform platform(tmp.filePath("program"));
        const QString game = tmp.filePath("Game"), exe = nativePath(game + "/Binaries/QVX.EXE");
        QVERIFY(copySampleGame(game) && makeProgramFolder(platform.folder, game + "/Binaries/QVX.EXE"));
        const QString other = nativePath(tmp.filePath(chosen + "/Binaries/QVX.EXE"));
        if (chosen == "fifo") {
            UNIX_ONLY("named pipes in the file system are Unix things");
#ifdef Q_OS_UNIX
            QVERIFY(QDir().mkpath(QFileInfo(other).path()) && ::mkfifo(QFile::encodeName(other).constData(), 0644) == 0);
#endif
        }
        QByteArray list = "{\"installations\": [";
        for (int i = 0; i < 25; ++i) {
            const QString entry = i == 0 ? other : i == 2 ? exe : nativePath(tmp.filePath(QString("Old%1/QVX.EXE").arg(i)));
            list += (i ? "," : "") + QJsonDocument(QJsonObject{{"executable", entry}}).toJson(QJsonDocument::Compact);
        }
        QVERIFY(writeFile(platform.folder + "/Installations.json", list + "]}"));
        const QByteArray config = readFile(platform.folder + "/Tarnwell.dat");
        Form1 form(platform);
        QVERIFY(start(form));
        form.text(3)->setText("99"); // an edit of the game that stays
        QStringList entries, ticked;
        QTRY_VERIFY((emit form.recentMenu()->aboutToShow(), form.recentMenu()->actions().size() == 20));
        for (const QAction *action : form.recentMenu()->actions()) {
            entries << action->text();
            if (action->isChecked())
                ticked << action->text();
        }
        QCOMPARE(entries.value(0), other);
        QCOMPARE(ticked, QStringList{exe});
        platform.pressed.enqueue(0); // "Discard and switch"
        form.recentMenu()->actions().value(0)->trigger();
        QTRY_VERIFY(!form.isBusy());
        QCOMPARE(platform.prompts().last(), other + "\n\ncannot be chosen: " + why + ". Nothing was changed.");
        QCOMPARE(nativePath(form.GameExePath), exe); // as Tarnwell.dat spells it
        QCOMPARE(readFile(platform.folder + "/Tarnwell.dat"), config);
        QCOMPARE(form.text(3)->text(), "99");
    }

    // Settings changed but not applied are not thrown away by choosing another executable, whichever
    // way it is chosen: the question comes first, Cancel on Enter, as for Recent installations.
    void editsBeforeAnotherExecutable_data()
    {
        QTest::addColumn<Route>("route");
        QTest::addColumn<bool>("discard"); // the answer: "Discard and switch", else Enter (Cancel)
        for (const auto &[route, name] : {std::pair{Route::Click, "a file clicked"}, {Route::FoundEntry, "a found one"},
                                          {Route::Typed, "a typed path"}, {Route::Dropped, "a dropped file"}}) {
            QTest::addRow("%s, Enter", name) << route << false;
            QTest::addRow("%s, discard", name) << route << true;
        }
    }

    void editsBeforeAnotherExecutable()
    {
        QFETCH(Route, route);
        QFETCH(bool, discard);
        QTemporaryDir tmp;
        FakePlatform platform(tmp.filePath("program"));
        const QString game = tmp.filePath("Game"), other = platform.home.filePath("Games/Other");
        QVERIFY(copySampleGame(game) && copySampleGame(other));
        QVERIFY(makeProgramFolder(platform.folder, game + "/Binaries/QVX.EXE"));
        const QByteArray config = readFile(platform.folder + "/Tarnwell.dat");
        Form1 form(platform);
        QVERIFY(start(form));
        QTRY_VERIFY(!form.isSearching() && !form.isReadingFolder());
        QTest::mouseClick(form.label(1), Qt::LeftButton); // the picker
        QTRY_VERIFY(!form.isBusy());
        form.text(3)->setText("99");
        platform.pressed.enqueue(discard ? 0 : 1);
        platform.answers.enqueue(Platform::Yes);
        const QString exe = other + "/Binaries/QVX.EXE";
        if (route == Route::Click || route == Route::FoundEntry) {
            if (route == Route::Click)
                QVERIFY(openFolder(form, other + "/Binaries"));
            else
                form.File1->actions().last()->trigger(); // "Games: Other" in the lists' menu
            QTRY_VERIFY(!form.isBusy());
            QVERIFY(clickItem(form.File1, "QVX.EXE"));
        } else if (route == Route::Typed) {
            QVERIFY(QTest::qWaitForWindowActive(&form));
            QTest::keyClick(form.File1, Qt::Key_L, Qt::ControlModifier);
            QTest::keyClicks(form.pathEdit(), exe);
            QTest::keyClick(form.pathEdit(), Qt::Key_Return);
        } else {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(exe)});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&form, &enter);
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&form, &drop);
        }
        QTRY_VERIFY(!form.isBusy());
        QCOMPARE(platform.messages.value(0).title, "Switch installation?");
        QCOMPARE(platform.messages.value(0).buttonTexts, QStringList({"Discard and switch", "Cancel"}));
        QCOMPARE(platform.prompts().size(), discard ? 2 : 1); // then "Set File: QVX.EXE"
        QCOMPARE(readFile(platform.folder + "/Tarnwell.dat"), discard ? "QVXEXE=" + nativePath(exe).toUtf8() + "\r\n"
                                                                      : config);
        QCOMPARE(form.text(3)->text(), discard ? "120" : "99");
    }

    // A list of the player's that cannot be read is theirs: it is kept under another name, the player is
    // told where, and only then is a new one written.
    void unreadableListsKept_data()
    {
        QTest::addColumn<Unreadable>("unreadable");
        QTest::addColumn<QString>("file"); // in the program folder
        QTest::addColumn<QString>("why");  // a pattern of the message
        const QString kept = "so it was kept as\n.*\\.unreadable-\\d{4}-\\d\\d-\\d\\d-\\d{6}\n";
        QTest::newRow("a list with a trailing comma") << Unreadable::TrailingComma << "Installations.json"
                                                      << "Installations.json could not be read \\(.*\\), " + kept;
        QTest::newRow("a list over 1 MB") << Unreadable::LargeList << "Installations.json"
                                          << "Installations.json could not be read \\(it is larger than 1 MB.*\\), " + kept;
        QTest::newRow("Tarnwell.dat over 1 MB") << Unreadable::LargeConfig << "Tarnwell.dat"
                                                << "Tarnwell.dat could not be read, " + kept;
    }

    void unreadableListsKept()
    {
        QFETCH(Unreadable, unreadable);
        QFETCH(QString, file);
        QFETCH(QString, why);
        QTemporaryDir tmp;
        FakePlatform platform(tmp.filePath("program"));
        const QString game = tmp.filePath("Game"), path = platform.folder + '/' + file;
        QVERIFY(copySampleGame(game) && makeProgramFolder(platform.folder));
        const QByteArray list = "{\"installations\": [\n{\"executable\": \"/a/QVX.EXE\", \"launch\": \"default\"},\n"
                                "{\"executable\": \"/b/QVX.EXE\", \"launch\": \"command\", \"command\": "
                                "\"gamemoderun mangohud %command% -novid\"},\n{\"executable\": \"/c/QVX.EXE\", "
                                "\"launch\": \"steam\"},\n]}\n";
        const QByteArray before = unreadable == Unreadable::TrailingComma ? list
            : unreadable == Unreadable::LargeList ? list.left(list.size() - 6) + "]}" + QByteArray(1 << 20, ' ')
                                                   : "QVXEXE=" + QByteArray(1 << 20, 'x');
        QVERIFY(writeFile(path, before));
        Form1 form(platform);
        QVERIFY(start(form));
        QVERIFY(openFolder(form, game + "/Binaries"));
        platform.answers.enqueue(Platform::Yes);
        QVERIFY(clickItem(form.File1, "QVX.EXE"));
        QTRY_VERIFY(!form.isBusy());
        const QStringList told = platform.prompts().filter(QRegularExpression(why));
        QCOMPARE(told.size(), 1);
        const QStringList aside = QDir(platform.folder).entryList({file + ".unreadable-*"}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QVERIFY(told[0].contains(nativePath(platform.folder + '/' + aside[0])));
        QCOMPARE(readFile(platform.folder + '/' + aside[0]), before); // kept byte for byte
        const QString exe = nativePath(game + "/Binaries/QVX.EXE");
        QVERIFY(unreadable == Unreadable::LargeConfig ? readFile(path) == "QVXEXE=" + exe.toUtf8() + "\r\n"
                                                       : readFile(path).count("\"executable\"") == 1);
    }

    // A player's machine: an executable of hundreds of megabytes takes a while to check. Once its check
    // ends, the check dialog is gone, nothing holds the window, and "Apply" has the focus, so that Space
    // presses it rather than "Quit".
    void largeExecutable_data()
    {
        QTest::addColumn<Large>("how");
        QTest::addColumn<qint64>("bytes"); // long enough for the dialog, which shows after 0.4 s, to be seen
        QTest::addColumn<QString>("status");
        QTest::newRow("registered, checked at start") << Large::Registered << (qint64(300) << 20)
                                                      << "Unknown Quillvane Version! MD5: 0D97A9CD8BBD7CE75A2A76BB06258915";
        QTest::newRow("typed with Ctrl+L, checked in its dialog") << Large::Typed << (qint64(1) << 30)
                                                                  << "Unknown Quillvane Version! MD5: CD573CFAACE07E"
                                                                     "7949BC0C46028904FF";
    }

    void largeExecutable()
    {
        QFETCH(Large, how);
        QFETCH(qint64, bytes);
        QFETCH(QString, status);
        QTemporaryDir tmp;
        FakePlatform platform(tmp.filePath("program"));
        PlayerMachine machine;
        PlayerMachine::Sizes sizes;
        sizes.exeBytes = bytes;
        QVERIFY(machine.make(platform.home.path(), sizes));
        QVERIFY(makeProgramFolder(platform.folder, how == Large::Registered ? machine.exe : QString()));
        Form1 form(platform);
        QVERIFY(start(form, false));
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QPointer<QProgressDialog> dialog;
        if (how == Large::Typed) {
            QTRY_VERIFY(!form.isBusy());
            platform.answers.enqueue(Platform::Yes);
            QTest::keyClick(form.File1, Qt::Key_L, Qt::ControlModifier);
            QTest::keyClicks(form.pathEdit(), machine.exe);
            QTest::keyClick(form.pathEdit(), Qt::Key_Return);
            QTRY_VERIFY(dialog = form.findChild<QProgressDialog *>());
            QTRY_VERIFY(dialog->isVisible());
        }
        QVERIFY(form.isChecking());
        QTRY_VERIFY(!form.command(1)->isEnabled()); // held once the check takes a while
        QTRY_VERIFY_WITH_TIMEOUT(!form.isChecking(), 120000);
        QCOMPARE(form.label(22)->text(), status);
        QTRY_VERIFY(!dialog || !dialog->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QTRY_COMPARE(QApplication::focusWidget(), form.command(1));
        platform.messages.clear();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QTRY_VERIFY(!form.isBusy());
        QCOMPARE(platform.prompts(), QStringList{"Settings written to file!"});
        QCOMPARE(platform.closes, 0);
    }

    // Space as soon as the window shows, while the start-up check of a large executable still runs:
    // Apply acts once the settings are read, rather than finding no game folder yet.
    void spaceAtOnce()
    {
        QTemporaryDir tmp;
        FakePlatform platform(tmp.filePath("program"));
        PlayerMachine machine;
        PlayerMachine::Sizes sizes;
        sizes.steamGames = 1; // the executable is what is looked at here
        sizes.exeBytes = qint64(1) << 30;
        QVERIFY(machine.make(platform.home.path(), sizes));
        QVERIFY(makeProgramFolder(platform.folder, machine.exe));
        Form1 form(platform);
        form.Form_Load();
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QVERIFY(form.isChecking());
        QCOMPARE(QApplication::focusWidget(), form.command(1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QTRY_VERIFY_WITH_TIMEOUT(!form.isBusy(), 120000);
        QCOMPARE(platform.prompts(), QStringList{"Settings written to file!"});
        QCOMPARE(form.label(22)->text(), "Unknown Quillvane Version! MD5: CD573CFAACE07E7949BC0C46028904FF");
    }

    // Thousands of Steam games over three libraries, Heroic's and ~/Games' hundreds: the game is found
    // among them, and the picker waits at it with the file list's focus on QVX.EXE, so that Enter and
    // Yes register it.
    void foundAmongThousands_data()
    {
        QTest::addColumn<bool>("flatpak");
        QTest::newRow("native Steam") << false;
        QTest::newRow("Flatpak Steam") << true;
    }

    void foundAmongThousands()
    {
        QFETCH(bool, flatpak);
        QTemporaryDir tmp;
        FakePlatform platform(tmp.filePath("program"));
        PlayerMachine machine;
        PlayerMachine::Sizes sizes;
        sizes.flatpak = flatpak;
        sizes.exeBytes = 3; // a small one: the search is what is looked at here
        QVERIFY(machine.make(platform.home.path(), sizes));
        QVERIFY(makeProgramFolder(platform.folder));
        Form1 form(platform);
        // The player reads the first start's message while the search goes on, and the picker is at
        // the game before it is closed.
        platform.whileOpen = [&form](const FakePlatform::Message &message) {
            if (message.prompt == kSelect)
                static_cast<void>(QTest::qWaitFor([&form] { return form.File1->currentItem(); }, 30000));
        };
        QVERIFY(start(form));
        QTRY_VERIFY_WITH_TIMEOUT(!form.isSearching() && !form.isReadingFolder(), 30000);
        QCOMPARE(form.Drive1->itemText(form.Drive1->count() - 1), "Steam: Quillvane");
        QCOMPARE(dir1Path(form), nativePath(machine.gameFolder + "Binaries"));
        QVERIFY(form.File1->currentItem());
        QCOMPARE(form.File1->currentItem()->text(), "QVX.EXE");
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(QApplication::focusWidget(), form.File1);
        platform.answers.enqueue(Platform::Yes);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(!form.isBusy());
        QCOMPARE(platform.prompts(), QStringList({kSelect, kAsk}));
        QCOMPARE(readFile(platform.folder + "/Tarnwell.dat"), "QVXEXE=" + nativePath(machine.exe).toUtf8() + "\r\n");
    }

    // Drive1 lists the drive letters; another drive opens at its root, and coming back opens the folder
    // last shown on the first.
    void driveLetters()
    {
        WINDOWS_ONLY("drive letters");
        TestWindow w;
        QVERIFY(w.start());
        Form1 &form = *w.form;
        QStringList letters;
        for (int i = 0; i < form.Drive1->count(); ++i)
            letters << form.Drive1->itemText(i).left(2);
        QVERIFY2(letters.contains("c:") && letters.contains("z:"), qPrintable(letters.join(' ')));
        QCOMPARE(form.Drive1->itemData(int(letters.indexOf("z:"))).toString(), "Z:\\");
        const QString home = dir1Path(form);
        QVERIFY2(home.startsWith("C:\\", Qt::CaseInsensitive), qPrintable(home));
        form.Drive1->setFocus();
        while (!form.Drive1->currentText().startsWith("z:") && form.Drive1->currentIndex() + 1 < form.Drive1->count())
            QTest::keyClick(form.Drive1, Qt::Key_Down);
        QTRY_COMPARE(dir1Path(form), "Z:\\");
        QCOMPARE(form.Dir1->item(0)->text(), "Z:\\");
        QVERIFY(form.File1->count() == 0 || form.File1->isVisible());
        QTest::keyClick(form.Drive1, Qt::Key_Home);
        QCOMPARE(form.Drive1->currentText().left(2), "c:");
        QTRY_COMPARE(dir1Path(form), home);
    }
};

QTEST_MAIN(TestRegistrationWindow)
#include "tst_registration_window.moc"
