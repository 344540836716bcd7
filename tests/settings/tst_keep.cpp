// SPDX-License-Identifier: MIT
// Nothing lost unasked: the game's changes merged with the user's, and edits kept until the user lets them go.
#include "tst_settings.h"

#include "common/systemtest.h"


namespace {

const QByteArray kRead = "<Data>\n" + prop("\t", "MaxframeRate", "144") + "\n" + prop("\t", "Brightness", "120") + "\n"
    + prop("\t", "UseHDR", "false") + "\n" + prop("\t", "DLSSQuality", "Balanced") + "\n</Data>\n";

} // namespace

void TestSettings::merge_data()
{
    QTest::addColumn<QStringList>("edits");     // what the user changes after the read
    QTest::addColumn<QByteArray>("game");       // the file the game writes meanwhile
    QTest::addColumn<Platform::Answer>("answer"); // to the question
    QTest::addColumn<QStringList>("listed");    // what the question lists
    QTest::addColumn<QByteArray>("after");      // the file afterwards
    QTest::addColumn<QStringList>("shown");     // the window afterwards
    QTest::addColumn<QByteArray>("meanwhile");  // what the game writes while the question is open

    // The game changes a setting and a value outside the catalogue, and adds a line of its own and a
    // setting the file did not hold, with an empty value: an added line is the game's whatever it holds.
    const QByteArray game = QByteArray(kRead).replace("\"144\"", "\"120\"").replace("Balanced", "Quality")
                                .replace("</Data>", "\t<New />\n" + in("FoVInShip", "") + "</Data>");
    const QByteArray merged = "<Data>\n" + written("MaxframeRate", "120") + "\n" + written("Brightness", "90") + "\n"
        + written("UseHDR", "false") + "\n" + prop("\t", "DLSSQuality", "Quality") + "\n\t<New />\n"
        + out("FoVInShip", "") + "</Data>\n\r\n";
    QTest::newRow("different settings, Yes: both kept") << L{"Text3=90"} << game << Platform::Yes
        << L{"has changed since Tarnwell read or wrote it", "Your changes that will be written:\n    Brightness: 90",
             "The game's changes that will be kept:\n    Field of View (Ship): \n    Framerate Lock: 120", "Settings written to file!"}
        << merged << L{"Text4=120", "Text8=", "Text3=90"} << QByteArray();
    // Asked again with what the file holds at the answer; both of the game's changes are kept.
    QTest::newRow("changed again while asked, Yes twice") << L{"Text3=90"} << game << Platform::Yes
        << L{"Framerate Lock: 120", "Settings written to file!"}
        << QByteArray(merged).replace("\"Quality\"", "\"Performance\"").replace("\"120\"", "\"100\"")
        << L{"Text4=100", "Text3=90"} << QByteArray(game).replace("\"Quality\"", "\"Performance\"").replace("\"120\"", "\"100\"");
    QTest::newRow("different settings, No: file left") << L{"Text3=90"} << game << Platform::No
        << L{"Brightness: 90", "Framerate Lock: 120", "you chose not to write into it"} << game
        << L{"Text4=144", "Text3=90"} << QByteArray();
    QTest::newRow("same setting: the user's value wins") << L{"Text3=90"}
        << QByteArray(kRead).replace("\"120\"", "\"130\"") << Platform::Yes
        << L{"Changed by both; your value will be written:\n    Brightness: yours 90, the game's 130"}
        << "<Data>\n" + written("MaxframeRate", "144") + "\n" + written("Brightness", "90") + "\n"
               + written("UseHDR", "false") + "\n" + prop("\t", "DLSSQuality", "Balanced") + "\n</Data>\n\r\n"
        << L{"Text3=90"} << QByteArray();
    QTest::newRow("a box the game checked is shown checked") << L{"Check9=1"}
        << QByteArray(kRead).replace("\"false\"", "\"true\"") << Platform::Yes
        << L{"The game's changes that will be kept:\n    HDR: on", "You changed none of its settings"}
        << "<Data>\n" + written("MaxframeRate", "144") + "\n" + written("Brightness", "120") + "\n"
               + written("UseHDR", "true") + "\n" + prop("\t", "DLSSQuality", "Balanced") + "\n</Data>\n\r\n"
        << L{"Check5=1"} << QByteArray();
}

void TestSettings::merge()
{
    QFETCH(QStringList, edits);
    QFETCH(QByteArray, game);
    QFETCH(Platform::Answer, answer);
    QFETCH(QStringList, listed);
    QFETCH(QByteArray, after);
    QFETCH(QStringList, shown);
    QFETCH(QByteArray, meanwhile);
    writeGame(kRead, kUser);
    loadGame();
    for (const QString &edit : edits)
        setControl(m_w->form.get(), edit);
    // The game exits and puts a new settings file in place of the one read.
    QVERIFY(writeFile(graphicsPath() + ".new", game));
    QVERIFY(testsupport::replaceFile(graphicsPath() + ".new", graphicsPath()));
    m_w->platform.answers << answer << answer;
    m_w->platform.whileOpen = [&](const FakePlatform::Message &) {
        if (!meanwhile.isNull())
            QVERIFY(writeFile(graphicsPath(), std::exchange(meanwhile, QByteArray())));
    };
    apply();
    m_w->platform.whileOpen = {};
    if (prompts().size() == 3) // asked again: the second question lists the game's latest change
        QVERIFY2(prompts()[1].contains("Framerate Lock: 100"), qPrintable(prompts()[1]));

    const QString shownAll = prompts().join("\n---\n"); // the question, then what was done
    for (const QString &line : listed)
        QVERIFY2(shownAll.contains(line), qPrintable(shownAll));
    QVERIFY(prompts().value(0).startsWith(QDir::toNativeSeparators(graphicsPath())));
    QCOMPARE(readFile(graphicsPath()), after);
    QCOMPARE(readFile(userPath()), QByteArray(kUser).replace('\t', ' ') + "\r\n"); // written all the same
    for (const QString &setting : shown)
        QCOMPARE(setting.section('=', 0, 0) + "=" + controlValue(m_w->form.get(), setting.section('=', 0, 0)), setting);
    if (answer == Platform::Yes) { // merged once: the next Apply asks nothing and changes nothing
        m_w->platform.messages.clear();
        apply();
        QCOMPARE(prompts(), L{"Settings written to file!"});
        QCOMPARE(readFile(graphicsPath()), after);
    }
}

void TestSettings::unsavedEdits_data()
{
    QTest::addColumn<bool>("quit");       // else Reload
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("choice");      // the button pressed
    QTest::addColumn<bool>("applied");    // the edit reached the file
    QTest::addColumn<QString>("brightness"); // in the window afterwards
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("gsync"); // checked by the edit too; the file has no line of it
    QTest::newRow("Quit without edits") << true << false << -1 << false << "120" << true << false;
    QTest::newRow("Quit, Apply") << true << true << 0 << true << "90" << true << true;
    QTest::newRow("Quit, Discard") << true << true << 1 << false << "90" << true << true;
    QTest::newRow("Quit, Cancel") << true << true << 2 << false << "90" << false << true;
    QTest::newRow("Reload without edits") << false << false << -1 << false << "120" << false << false;
    QTest::newRow("Reload, Apply") << false << true << 0 << true << "90" << false << true;
    QTest::newRow("Reload, Discard and read") << false << true << 1 << false << "120" << false << false;
    QTest::newRow("Reload, Cancel") << false << true << 2 << false << "90" << false << true;
}

void TestSettings::unsavedEdits()
{
    QFETCH(bool, quit);
    QFETCH(bool, edited);
    QFETCH(int, choice);
    QFETCH(bool, applied);
    QFETCH(QString, brightness);
    QFETCH(bool, closed);
    QFETCH(bool, gsync);
    writeGame(kRead, kUser);
    loadGame();
    if (edited) {
        setControl(m_w->form.get(), "Text3=90");
        setControl(m_w->form.get(), "Check8=1");
    }
    if (choice >= 0)
        m_w->platform.pressed.enqueue(choice);
    QTest::mouseClick(m_w->form->command(quit ? 4 : 3), Qt::LeftButton);
    QTRY_VERIFY(!m_w->form->isBusy());

    const QStringList buttons = quit ? L{"Apply", "Discard", "Cancel"} : L{"Apply", "Discard and read", "Cancel"};
    QCOMPARE(m_w->platform.messages.size() > 0 && !m_w->platform.messages[0].buttonTexts.isEmpty(), edited);
    if (edited) {
        QCOMPARE(m_w->platform.messages[0].buttonTexts, buttons);
        QVERIFY(prompts()[0].startsWith("Some settings were changed in the window but not written"));
    }
    QCOMPARE(readFile(graphicsPath()).contains(written("Brightness", "90")), applied);
    QCOMPARE(readFile(graphicsPath()) == kRead, !applied);
    QCOMPARE(m_w->form->text(3)->text(), brightness);
    QCOMPARE(m_w->form->check(8)->isChecked(), gsync);
    QCOMPARE(m_w->form->isClosed(), closed);
    QCOMPARE(m_w->form->hasUnsavedEdits(), !applied && brightness == "90"); // the edit is still there, unsaved
}

// Whether a value is too long to show follows the file after every read and write: what Apply's merge
// took from the game is shown as the file now holds it, shortened and read-only when too long, and
// an edit can never write the shortened text over the value.
void TestSettings::keptAside_data()
{
    QTest::addColumn<int>("readBytes");     // of Brightness when read
    QTest::addColumn<int>("gameBytes");     // then written by the game while Framerate Lock is edited; 0: nothing
    QTest::addColumn<QString>("shown");     // Brightness after Apply: "7" n times for a whole value
    QTest::addColumn<bool>("readOnly");
    const QString shortened = "77777777777777777777777777777777\u2026 (a value of %1, kept as it is)";
    QTest::newRow("65,536 bytes read: whole, editable") << 65536 << 0 << "65536" << false;
    QTest::newRow("65,537 bytes read: shortened, read-only") << 65537 << 0 << shortened.arg("64.0 kB") << true;
    QTest::newRow("short read, 70 kB merged in") << 3 << 70000 << shortened.arg("68.4 kB") << true;
    QTest::newRow("70 kB read, short merged in") << 70000 << 3 << "3" << false;
}

void TestSettings::keptAside()
{
    QFETCH(int, readBytes);
    QFETCH(int, gameBytes);
    QFETCH(QString, shown);
    QFETCH(bool, readOnly);
    const auto graphics = [](int bytes) { return in("Brightness", QByteArray(bytes, '7')) + in("MaxframeRate", "144"); };
    writeGame(graphics(readBytes), kUser);
    loadGame();
    setControl(m_w->form.get(), "Text4=60");
    QByteArray expected = out("Brightness", QByteArray(readBytes, '7')) + out("MaxframeRate", "60") + "\r\n";
    if (gameBytes > 0) {
        writeGame(graphics(gameBytes), kUser);
        m_w->platform.answers << Platform::Yes; // write the edit into the game's file as it is now
        expected = out("Brightness", QByteArray(gameBytes, '7')) + out("MaxframeRate", "60") + "\r\n";
    }
    apply();
    QCOMPARE(readFile(graphicsPath()), expected);
    QLineEdit *brightness = m_w->form->text(3);
    QCOMPARE(brightness->text(), shown.toInt() ? QString(shown.toInt(), '7') : shown);
    QCOMPARE(brightness->isReadOnly(), readOnly);
    // Typed into: a value kept aside takes nothing, and Apply writes it back whole.
    const QString before = brightness->text();
    QTest::keyClick(brightness, Qt::Key_End);
    QTest::keyClick(brightness, Qt::Key_8);
    QCOMPARE(brightness->text(), readOnly ? before : before + '8');
    if (!readOnly)
        return;
    m_w->platform.messages.clear();
    apply();
    QCOMPARE(readFile(graphicsPath()), expected);
    QCOMPARE(prompts(), L{"Settings written to file!"});
}
