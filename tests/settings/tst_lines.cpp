// SPDX-License-Identifier: MIT
// Property lines and values, read and written through the window.
#include "tst_settings.h"

#include <QRegularExpression>

#include <QFrame>
#include <QStringEncoder>

namespace {
// What "Apply" does: write both files, or leave a graphics file with none of the settings and write the
// other, or refuse a value and write neither.
enum class Outcome { Written, Unrecognised, Refused };
} // namespace

void TestSettings::fileLines_data()
{
    QTest::addColumn<QByteArray>("graphics");
    QTest::addColumn<QStringList>("before");  // controls set before the read
    QTest::addColumn<QStringList>("shown");   // controls after it
    QTest::addColumn<QStringList>("changes"); // then set by the user
    QTest::addColumn<QByteArray>("after");    // the file after "Apply"
    QTest::addColumn<Outcome>("outcome");     // of "Apply"
    QTest::addColumn<QString>("refusal");     // why the first change cannot be written

    const QByteArray head = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Data template=\"GcGraphicsSettings\">\n";
    const QByteArray mouse = "MouseClickSpeedMultiplier", bright = in("Brightness", "120");
    const QByteArray others = "  " + in("FullScreen", "true").mid(1) + in("fullscreen", "true")
        + in("UseHDRExtra", "true") + in("Vibration", "true");
    const QByteArray bytes = "\xE9t\xE9\n" + in("Brightness", "\xE9\t\xE8") + in("AntiAliasingEx2", "T\xC3\xA9");
    const QByteArray crlf = QByteArray(kGraphics).replace("\n", "\r\n").replace("</Data>", "\r\n</Data>");
    using enum Outcome;

    QTest::newRow("four-line VsyncEx example") << head + in("VsyncEx", "On") + "</Data>\n" << L{} << L{"Check3=1"}
        << L{"Check3=0"} << head + out("VsyncEx", "Off") + "</Data>\n\r\n" << Written << "";
    QTest::newRow("VsyncEx Only begins with On") << in("VsyncEx", "Only") << L{} << L{"Check3=1"} << L{}
        << out("VsyncEx", "On") + "\r\n" << Written << "";
    QTest::newRow("MouseClick 0.25 neither") << in(mouse, "0.25") << L{"Check9=1"} << L{"Check9=1"} << L{"Check9=0"}
        << out(mouse, "0.01") + "\r\n" << Written << "";
    // Exactly the cleared text clears the row's own box; any other failing value, or no line, leaves it.
    QTest::newRow("cleared text clears, other values and absent lines leave")
        << in("FullScreen", "false") + in("Gsync", "maybe") + in("VsyncEx", "Off") + in("AmbientOcclusion", "Off")
        << L{"Check1=1", "Check8=1", "Check3=1", "Check7=1", "Text3=200"}
        << L{"Check1=0", "Check8=1", "Check3=0", "Check7=0", "Text3=200"} << L{}
        << out("FullScreen", "false") + out("Gsync", "true") + out("VsyncEx", "Off") + out("AmbientOcclusion", "Off")
            + "\r\n" << Written << "";
    QTest::newRow("Borderless false leaves FullScreen") << in("Borderless", "false") << L{"Check1=1"}
        << L{"Check1=1", "Check2=0"} << L{} << out("Borderless", "false") + "\r\n" << Written << "";
    QTest::newRow("name position, case, length and file") << others << L{} << L{"Check1=0", "Check5=0", "Check11=0"}
        << L{"Check1=1", "Check5=1", "Check11=1"} << others << Unrecognised << "";
    QTest::newRow("resolution built when its height is met")
        << in("ResolutionHeight", "1080") + in("ResolutionWidth", "2560") << L{} << L{"Combo1=x1080"}
        << L{"Combo1=1920x1200"}
        << out("ResolutionHeight", "1200") + out("ResolutionWidth", "1920") + "\r\n" << Written << "";
    QTest::newRow("blanks, ampersands and references verbatim")
        << in("Brightness", " 9&amp;0 ") + in("MotionBlurQuality", "A&#34;B") << L{}
        << L{"Text3= 9&amp;0 ", "Combo6=A&#34;B"} << L{"Combo6= 1 & 2&amp;\t"}
        << out("Brightness", " 9&amp;0 ") + out("MotionBlurQuality", " 1 & 2&amp;\t") + "\r\n" << Written << "";
    QTest::newRow("line too short for a value") << QByteArray("\t<Property name=\"Brightness\" v\n") << L{"Text3=200"}
        << L{"Text3="} << L{} << out("Brightness", "") + "\r\n" << Written << "";
    QTest::newRow("doubled line: the later shown, both written") << bright + in("Brightness", "130") << L{}
        << L{"Text3=130"} << L{"Text3=90"} << out("Brightness", "90") + out("Brightness", "90") + "\r\n" << Written
        << "";
    QTest::newRow("empty lines collapsed in pairs") << "<Data>\n\n" + in("Gsync", "false") + "\n\n</Data>\n" << L{}
        << L{} << L{"Check8=1"} << "<Data>\n" + out("Gsync", "true") + "\n</Data>\n\r\n" << Written << "";
    QTest::newRow("last line without line feed") << "<Data>\n" + in("Gsync", "false") + "</Data>" << L{} << L{}
        << L{"Check8=1"} << "<Data>\n" + out("Gsync", "true") + "</Data>" << Written << "";
    QTest::newRow("bytes of any encoding kept, changes in the system's 8 bits") << bytes + in("MotionBlurQuality", "90") << L{}
        << L{kWindows ? "Combo5=T\u00c3\u00a9" : "Combo5=T\u00e9"} << L{"Combo6=\u00e9"}
        << "\xE9t\xE9\n" + out("Brightness", "\xE9\t\xE8") + out("AntiAliasingEx2", "T\xC3\xA9")
            + out("MotionBlurQuality", kWindows ? "\xE9" : "\xC3\xA9") + "\r\n" << Written << "";
    // A file in another encoding holds no line the tool knows: it is left byte for byte, never "written".
    const QByteArray utf16 = QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)(
        QString::fromLatin1("<Data>\n" + prop("\t", "Gsync", "false") + "\n</Data>\n"));
    QTest::newRow("UTF-16 file left as it is") << utf16 << L{} << L{} << L{"Check8=1"} << utf16 << Unrecognised << "";
    const QByteArray mixed("a\rb\r\n\0\xFF\n\r\n\n", 11); // a blank line after a CR LF line
    QTest::newRow("lone CR, NUL and mixed line ends") << mixed + in("Gsync", "0") << L{} << L{} << L{"Check8=1"}
        << mixed.chopped(1) + out("Gsync", "true") + "\r\n" << Written << "";
    QTest::newRow("empty file") << QByteArray("") << L{"Text3=200"} << L{"Text3=200"} << L{} << QByteArray("")
                                << Unrecognised << "";
    // A CR LF file (a blank line too) read in full: its catalogue lines are rebuilt, every other byte stays.
    QTest::newRow("CR LF file, HDR clicked") << crlf << L{} << L{"Text3=120", "Check5=0"} << L{"Check5=1"}
        << QByteArray(crlf).replace(prop("\t", "UseHDR", "false"), written("UseHDR", "true"))
               .replace(prop("\t", "Brightness", "120"), written("Brightness", "120")) << Written << "";
    // Longer than a line edit takes by default (32,767 characters), in a text box and a list's edit field.
    const QByteArray digits = QByteArray("0123456789").repeated(4000);
    QTest::newRow("40,000-character values come back whole") << in("Brightness", digits) + in("TextureDetail", digits)
        << L{} << L{"Text3=" + digits, "Combo2=" + digits} << L{} << out("Brightness", digits)
            + out("TextureDetail", digits) + "\r\n" << Written << "";
    // A value far too long to show is shown shortened and read-only, and written back byte for byte.
    QTest::newRow("50 MB value kept aside") << in("Brightness", "<50 MB>") + in("MaxframeRate", "60") << L{}
        << L{"Text3=77777777777777777777777777777777\u2026 (a value of 50.0 MB, kept as it is)"} << L{"Text4=90"}
        << out("Brightness", "<50 MB>") + out("MaxframeRate", "90") + "\r\n" << Written << "";
    // Refused values: one message names each setting by its caption, its value and why; a value read out of
    // range goes back as it came.
    const QList<QStringList> refusals = {{"double quote", "Text3=1\"0", "Brightness \"1\"0\": it holds a double quote"},
        {"less-than", "Combo5=<TAA", "Anti-Aliasing \"<TAA\": it holds a \"<\""},
        {"line feed", "Text3=8\n0", "Brightness \"8\n0\": it holds a line break"},
        {"unencodable", "Text3=" + QString(QChar(0xD800)), "Brightness \"" + QString(QChar(0xD800)) + "\": it holds a "
         "character"},
        {"resolution without lower-case x", "Combo1=2560X1440",
         "Resolution \"2560X1440\": it has no lower-case \"x\""},
        // Only ASCII blanks around a number: atoi and strtod in the game stop at any other.
        {"no-break space", "Text3=\u00a090", "Brightness \"\u00a090\": it takes a number from 0 to 300.\n\n"},
        {"ideographic space", "Text4=60\u3000", kWindows // no ANSI code page holds it
             ? "Framerate Lock \"60\u3000\": it holds a character (\"\u3000\", U+3000) that the settings file's"
             : "Framerate Lock \"60\u3000\": it takes a whole number from 0 to 1000.\n\n"},
        {"-0 where no number is negative", "Text4=-0", "Framerate Lock \"-0\": it takes a whole number from 0 to 1000."},
        {"decimal comma", "Text3=1,5", "Brightness \"1,5\": it takes a number from 0 to 300; the game takes a dot, not a "
         "comma, before decimals (1.5).\n\n"},
        {"comma in a whole number", "Text4=1,5", "Framerate Lock \"1,5\": it takes a whole number from 0 to 1000.\n\n"},
        {"fraction in a whole number", "Text5=4.5", "Work Threads (High) \"4.5\": it takes a whole number from 1 to "
         "256.\n\n"}};
    for (const QStringList &refused : refusals)
        QTest::newRow(qPrintable("refused: " + refused[0])) << bright << L{} << L{} << L{refused[1]} << bright << Refused
                                                            << "These values cannot be written:\n\n" + refused[2];
    QTest::newRow("refused: four values, one message") << bright + in("MaxframeRate", "60") << L{} << L{}
        << L{"Text4=abc", "Combo1=axb", "Text5=-5", "Text3=99999"} << bright + in("MaxframeRate", "60") << Refused
        << "These values cannot be written:\n\nResolution \"axb\": it takes width x height, each a whole number from 1 "
           "to 16384.\nBrightness \"99999\": it takes a number from 0 to 300.\nFramerate Lock \"abc\": it takes a "
           "whole number from 0 to 1000.\nWork Threads (High) \"-5\": it takes a whole number from 1 to 256.\n\n"
           "Nothing was written. Change them and press Apply again.";
    QTest::newRow("ASCII blanks around a number") << bright << L{} << L{} << L{"Text3= 90\t"}
        << out("Brightness", " 90\t") + "\r\n" << Written << "";
    QTest::newRow("out of range as read, written back") << in("Brightness", "99999") + in("NumHighThreads", "-5")
        << L{} << L{"Text3=99999"} << L{"Check5=1"} << out("Brightness", "99999") + out("NumHighThreads", "-5")
        + "\r\n" << Written << "";
}

void TestSettings::fileLines()
{
    QFETCH(QByteArray, graphics);
    QFETCH(QStringList, before);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, changes);
    QFETCH(QByteArray, after);
    QFETCH(Outcome, outcome);
    QFETCH(QString, refusal);
    const QByteArray large(50 << 20, '7');
    graphics.replace("<50 MB>", large);
    after.replace("<50 MB>", large);

    writeGame(graphics, kUser);
    startForm();
    for (const QString &setting : before)
        setControl(m_w->form.get(), setting);
    loadGame();
    QCOMPARE(prompts(), L{});
    for (const QString &setting : shown)
        QCOMPARE(setting.section('=', 0, 0) + "=" + controlValue(m_w->form.get(), setting.section('=', 0, 0)), setting);
    QCOMPARE(m_w->form->text(3)->isReadOnly(), graphics.size() > large.size());
    for (const QString &setting : changes)
        setControl(m_w->form.get(), setting);
    apply();
    // A file with none of the settings is left alone and reported; the other is written.
    const QString message = outcome == Outcome::Written ? "Settings written to file!"
        : outcome == Outcome::Unrecognised ? "Not every settings file was written.\n\n" + nativePath(graphicsPath())
                                               + "\nIt holds none of the settings"
        : refusal;
    QCOMPARE(prompts().size(), 1);
    QCOMPARE(prompts()[0].left(message.size()), message);
    QCOMPARE(readFile(graphicsPath()), after);
    const QByteArray userAfter = QByteArray(kUser).replace('\t', ' ') + "\r\n";
    QCOMPARE(readFile(userPath()), outcome == Outcome::Refused ? kUser : userAfter); // nothing when refused
}

// After Apply refuses values, the first refused field (in the message's order) takes the focus, and
// every refused field is framed and says why to a screen reader until its text changes.
void TestSettings::refusedShown()
{
    writeGame(kGraphics, kUser);
    loadGame();
    Form1 &form = *m_w->form;
    const QList<QWidget *> fields{form.combo(1), form.text(3), form.text(4)};
    for (const QString setting : {"Text4=abc", "Combo1=axb", "Text3=1,5"})
        setControl(&form, setting);
    apply();
    QCOMPARE(prompts().size(), 1);
    QCOMPARE(form.focusWidget(), form.combo(1));
    const QStringList refused{"Refused by Apply: it takes width x height, each a whole number from 1 to 16384.",
        "Refused by Apply: it takes a number from 0 to 300; the game takes a dot, not a comma, before decimals (1.5).",
        "Refused by Apply: it takes a whole number from 0 to 1000."};
    const auto marks = [&] {
        QStringList shown;
        for (QWidget *field : fields) {
            const auto *frame = form.findChild<QFrame *>("refused" + field->objectName());
            const bool framed = frame && frame->isVisible() && frame->geometry().contains(field->geometry())
                && frame->palette().color(QPalette::Window) == QColor(0xc0, 0, 0);
            // The refusal leads the description; a note of the change, which follows, is not looked at here.
            shown << (framed ? "framed: " : "")
                    + field->accessibleDescription().remove(QRegularExpression(" ?Changed, not yet applied: .*$"));
        }
        return shown;
    };
    QCOMPARE(marks(), QStringList({"framed: " + refused[0], "framed: " + refused[1], "framed: " + refused[2]}));
    QVERIFY(form.combo(1)->lineEdit()->accessibleDescription().startsWith(refused[0]));
    // Edited, a field loses its mark; the others keep theirs, and the next refusal marks again.
    QTest::keyClick(form.text(3), Qt::Key_Backspace);
    QCOMPARE(marks(), QStringList({"framed: " + refused[0], "", "framed: " + refused[2]}));
    form.text(3)->setText("1.5");
    form.combo(1)->setEditText("1920x1080");
    QCOMPARE(marks(), QStringList({"", "", "framed: " + refused[2]}));
    apply();
    QCOMPARE(form.focusWidget(), form.text(4));
    QCOMPARE(marks(), QStringList({"", "", "framed: " + refused[2]}));
    QCOMPARE(readFile(graphicsPath()), kGraphics); // nothing written
}
