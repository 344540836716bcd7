// SPDX-License-Identifier: MIT
// Property lines, line lists and values, without a window.
#include "tst_settings.h"

#include "settings/linelist.h"
#include "settings/propertyline.h"
#include "settings/settingswriter.h"

#include <QTest>

using namespace tarnwell;

namespace {

QString rowName(RowIndex row)
{
    if (row < 0)
        return "none";
    return QString::fromLatin1(catalogue()[row].property.toByteArray()) + "/" + QString(catalogue()[row].control);
}

// The controls at their start-up contents, as the window has them.
FakeControls startControls()
{
    FakeControls controls;
    for (const CatalogueRow &row : catalogue()) {
        if (row.kind == ControlKind::Check)
            controls.checks[row.control] = false;
    }
    const QList<QPair<const char *, const char *>> texts = {
        {"Combo1", "320x200"}, {"Combo2", "Low"}, {"Combo3", "Normal"}, {"Combo4", "Low"}, {"Combo5", "None"},
        {"Combo6", "Off"},     {"Combo7", "Low"}, {"Text1", "16"},      {"Text2", "140"},  {"Text3", "115"},
        {"Text4", "160"},      {"Text5", "4"},    {"Text6", "256"},     {"Text7", "180"},  {"Text8", "140"},
        {"Text9", "4"},        {"Text10", "80"},  {"Text11", "0"}};
    for (const auto &[control, text] : texts)
        controls.texts[control] = text;
    return controls;
}

} // namespace

void TestSettings::recognition_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("user");
    QTest::addColumn<QString>("row");   // the row that reads the line
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("written"); // the writer replaces the line

    QTest::newRow("tab, FullScreen true") << prop("\t", "FullScreen", "true") << false << "FullScreen/Check1" << QByteArray("true") << true;
    QTest::newRow("FullScreen false: flag fails, still written") << prop("\t", "FullScreen", "false") << false << "none" << QByteArray("false") << true;
    QTest::newRow("two blanks: name at 19") << prop("  ", "FullScreen", "true") << false << "none" << QByteArray() << false;
    QTest::newRow("name in lower case") << prop("\t", "fullscreen", "true") << false << "none" << QByteArray() << false;
    QTest::newRow("VsyncEx Off") << prop("\t", "VsyncEx", "Off") << false << "none" << QByteArray("Off") << true;
    QTest::newRow("VsyncEx Only begins with On") << prop("\t", "VsyncEx", "Only") << false << "VsyncEx/Check3" << QByteArray("Only") << true;
    QTest::newRow("MouseClick 0.50 checks") << prop("\t", "MouseClickSpeedMultiplier", "0.50") << false << "MouseClickSpeedMultiplier/Check9" << QByteArray("0.50") << true;
    QTest::newRow("MouseClick 0.01 second row") << prop("\t", "MouseClickSpeedMultiplier", "0.01") << false << "MouseClickSpeedMultiplier/Check9" << QByteArray("0.01") << true;
    QTest::newRow("MouseClick 0.25 neither") << prop("\t", "MouseClickSpeedMultiplier", "0.25") << false << "none" << QByteArray("0.25") << true;
    QTest::newRow("Gsync worked example") << prop("\t", "Gsync", "true") << false << "Gsync/Check8" << QByteArray("true") << true;
    QTest::newRow("longer name is another property") << prop("\t", "UseHDRExtra", "true") << false << "none" << QByteArray() << false;
    QTest::newRow("value with blanks") << prop("\t", "Brightness", " 90 ") << false << "Brightness/Text3" << QByteArray(" 90 ") << true;
    QTest::newRow("character reference") << prop("\t", "MotionBlurQuality", "A&amp;B&#34;") << false << "MotionBlurQuality/Combo6" << QByteArray("A&amp;B&#34;") << true;
    QTest::newRow("empty value") << prop("\t", "Brightness", "") << false << "Brightness/Text3" << QByteArray() << true;
    QTest::newRow("too short for a value") << QByteArray("\t<Property name=\"Brightness\" v") << false << "Brightness/Text3" << QByteArray() << true;
    QTest::newRow("name cut off") << QByteArray("\t<Property name=\"Bright") << false << "none" << QByteArray() << false;
    QTest::newRow("resolution width") << prop("\t", "ResolutionWidth", "2560") << false << "ResolutionWidth/Combo1" << QByteArray("2560") << true;
    QTest::newRow("user row in graphics file") << prop("\t", "Vibration", "true") << false << "none" << QByteArray() << false;
    QTest::newRow("user row in user file") << prop("\t", "Vibration", "true") << true << "Vibration/Check11" << QByteArray("true") << true;
    QTest::newRow("graphics row in user file") << prop("\t", "UseHDR", "true") << true << "none" << QByteArray() << false;
    QTest::newRow("written line read again") << written("TextureStreamingEx", "Auto") << false << "TextureStreamingEx/Check4" << QByteArray("Auto") << true;
    QTest::newRow("no closing blank") << QByteArray("\t<Property name=\"AmbientOcclusion\" value=\"HBAO\"/>") << false << "AmbientOcclusion/Check7" << QByteArray("HBA") << true;
}

void TestSettings::recognition()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, user);
    QFETCH(QString, row);
    QFETCH(QByteArray, value);
    QFETCH(bool, written);
    const SettingsFile file = user ? SettingsFile::User : SettingsFile::Graphics;

    const RowIndex read = rowReadFrom(line, file);
    QCOMPARE(rowName(read), row);
    const RowIndex writtenRow = rowWrittenTo(line, file);
    QCOMPARE(writtenRow >= 0, written);
    if (writtenRow >= 0)
        QCOMPARE(propertyValue(line, catalogue()[writtenRow].property).toByteArray(), value);
}

void TestSettings::lineList_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<QByteArray>("rendered");

    using L = QList<QByteArray>;
    QTest::newRow("empty file") << QByteArray("") << L{} << QByteArray("");
    QTest::newRow("game's LF file") << QByteArray("a\nb\n") << L{"a", "b", ""} << QByteArray("a\nb\n\r\n");
    QTest::newRow("writer's own file") << QByteArray("a\nb\n\r\n") << L{"a", "b", ""} << QByteArray("a\nb\n\r\n");
    QTest::newRow("marker alone") << QByteArray("\r\n") << L{} << QByteArray("\r\n");
    QTest::newRow("LF then marker alone") << QByteArray("\n\r\n") << L{"", ""} << QByteArray("\n\r\n");
    QTest::newRow("CR LF file") << QByteArray("a\r\nb\r\n") << L{"a", "b", ""} << QByteArray("a\r\nb\r\n");
    QTest::newRow("CR LF blank lines stay") << QByteArray("a\r\n\r\nb\r\n\r\n") << L{"a", "", "b", "", ""} << QByteArray("a\r\n\r\nb\r\n\r\n");
    QTest::newRow("last line without LF") << QByteArray("a\n</Data>") << L{"a", "</Data>"} << QByteArray("a\n</Data>");
    QTest::newRow("CR LF, last line without") << QByteArray("a\r\n</Data>") << L{"a", "</Data>"} << QByteArray("a\r\n</Data>");
    QTest::newRow("blank LF line collapsed") << QByteArray("a\n\nb\n") << L{"a", "", "b", ""} << QByteArray("a\nb\n\r\n");
    QTest::newRow("three LFs leave two") << QByteArray("a\n\n\nb\n") << L{"a", "", "", "b", ""} << QByteArray("a\n\nb\n\r\n");
    QTest::newRow("four LFs leave two") << QByteArray("a\n\n\n\nb") << L{"a", "", "", "", "b"} << QByteArray("a\n\nb");
    QTest::newRow("empty first line stays") << QByteArray("\na\n") << L{"", "a", ""} << QByteArray("\na\n\r\n");
    QTest::newRow("lone CR is content") << QByteArray("a\rb\n") << L{"a\rb", ""} << QByteArray("a\rb\n\r\n");
    QTest::newRow("CR before CR LF") << QByteArray("a\r\r\n") << L{"a\r", ""} << QByteArray("a\r\r\n");
    QTest::newRow("mixed, LF last") << QByteArray("a\r\nb\n") << L{"a", "b", ""} << QByteArray("a\r\nb\n\r\n");
    QTest::newRow("blank CR LF line inside LF file") << QByteArray("a\n\r\nc\n") << L{"a", "", "c", ""} << QByteArray("a\n\r\nc\n\r\n");
    QTest::newRow("final blank CR LF after CR LF is a line") << QByteArray("a\r\n\r\n") << L{"a", "", ""} << QByteArray("a\r\n\r\n");
    QTest::newRow("bytes of any encoding") << QByteArray("\xE9\xFF\x00z\n", 5) << L{QByteArray("\xE9\xFF\x00z", 4), ""} << QByteArray("\xE9\xFF\x00z\n\r\n", 7);
}

void TestSettings::lineList()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<QByteArray>, lines);
    QFETCH(QByteArray, rendered);
    const LineList list(text);
    QCOMPARE(list.lines(), lines);
    QCOMPARE(list.size(), lines.size());
    QCOMPARE(list.rendered(), rendered);
    // What was written writes the same again, once no doubled line feed is left to collapse.
    if (!rendered.contains("\n\n"))
        QCOMPARE(LineList(rendered).rendered(), rendered);
}

void TestSettings::writtenFile_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("changes"); // "Check3=0", "Text3= 90 ", "Combo1=1920x1080"
    QTest::addColumn<QByteArray>("after");

    const QByteArray head = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Data template=\"GcGraphicsSettings\">\n";
    QTest::newRow("four-line VsyncEx example")
        << head + prop("\t", "VsyncEx", "On") + "\n</Data>\n" << QStringList{"Check3=0"}
        << head + written("VsyncEx", "Off") + "\n</Data>\n\r\n";
    QTest::newRow("Check9 checked")
        << prop("\t", "MouseClickSpeedMultiplier", "0.01") + "\n" << QStringList{"Check9=1"}
        << written("MouseClickSpeedMultiplier", "0.50") + "\n\r\n";
    QTest::newRow("Check9 cleared")
        << prop("\t", "MouseClickSpeedMultiplier", "0.25") + "\n" << QStringList{"Check9=0"}
        << written("MouseClickSpeedMultiplier", "0.01") + "\n\r\n";
    QTest::newRow("Check7 and Check4")
        << prop("\t", "AmbientOcclusion", "Off") + "\n" + prop("\t", "TextureStreamingEx", "Off") + "\n"
        << QStringList{"Check7=1", "Check4=1"}
        << written("AmbientOcclusion", "HBAO") + "\n" + written("TextureStreamingEx", "Auto") + "\n\r\n";
    QTest::newRow("Check7 cleared")
        << prop("\t", "AmbientOcclusion", "HBAO") + "\n" << QStringList{"Check7=0"}
        << written("AmbientOcclusion", "Off") + "\n\r\n";
    const QByteArray resolution = prop("\t", "ResolutionWidth", "1") + "\n" + prop("\t", "ResolutionHeight", "1") + "\n";
    QTest::newRow("resolution") << resolution << QStringList{"Combo1=1920x1080"}
        << written("ResolutionWidth", "1920") + "\n" + written("ResolutionHeight", "1080") + "\n\r\n";
    QTest::newRow("resolution of three parts") << resolution << QStringList{"Combo1=1920x1080x60"}
        << written("ResolutionWidth", "1920") + "\n" + written("ResolutionHeight", "1080") + "\n\r\n";
    QTest::newRow("resolution with blanks") << resolution << QStringList{"Combo1= 1920 x1080"}
        << written("ResolutionWidth", " 1920 ") + "\n" + written("ResolutionHeight", "1080") + "\n\r\n";
    QTest::newRow("text with blanks and reference") << prop("\t", "Brightness", "1") + "\n"
        << QStringList{"Text3= 9&amp;0 "} << written("Brightness", " 9&amp;0 ") + "\n\r\n";
    QTest::newRow("absent property not added") << QByteArray("<Data>\n</Data>\n") << QStringList{"Check5=1"}
        << QByteArray("<Data>\n</Data>\n\r\n");
    QTest::newRow("doubled line both written")
        << prop("\t", "Brightness", "100") + "\n" + prop("\t", "Brightness", "120") + "\n" << QStringList{"Text3=90"}
        << written("Brightness", "90") + "\n" + written("Brightness", "90") + "\n\r\n";
    QTest::newRow("lower-case and longer names left alone")
        << prop("\t", "fullscreen", "x") + "\n" + prop("\t", "UseHDRExtra", "x") + "\n" << QStringList{"Check1=1", "Check5=1"}
        << prop("\t", "fullscreen", "x") + "\n" + prop("\t", "UseHDRExtra", "x") + "\n\r\n";
    QTest::newRow("empty line collapsed") << "<Data>\n\n" + prop("\t", "Gsync", "false") + "\n\n</Data>\n"
        << QStringList{"Check8=1"} << "<Data>\n" + written("Gsync", "true") + "\n</Data>\n\r\n";
    QTest::newRow("CR LF file keeps its ends and blank lines")
        << "<Data>\r\n\r\n" + prop("\t", "Gsync", "false") + "\r\n</Data>\r\n" << QStringList{"Check8=1"}
        << "<Data>\r\n\r\n" + written("Gsync", "true") + "\r\n</Data>\r\n";
    QTest::newRow("last line without line feed")
        << "<Data>\n" + prop("\t", "Gsync", "false") + "\n</Data>" << QStringList{"Check8=1"}
        << "<Data>\n" + written("Gsync", "true") + "\n</Data>";
    QTest::newRow("catalogue line last, without line feed")
        << "<Data>\n" + prop("\t", "Gsync", "false") << QStringList{"Check8=1"} << "<Data>\n" + written("Gsync", "true");
    QTest::newRow("user lines untouched by graphics rows")
        << prop("\t", "Vibration", "false") + "\n" << QStringList{"Check11=1"} << prop("\t", "Vibration", "false") + "\n\r\n";
}

void TestSettings::writtenFile()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, changes);
    QFETCH(QByteArray, after);

    FakeControls controls = startControls();
    for (const QString &change : changes) {
        const QString control = change.section('=', 0, 0);
        const QString value = change.section('=', 1);
        if (control.startsWith("Check"))
            controls.checks[control] = value == "1";
        else
            controls.texts[control] = value;
    }
    ReadValues read;
    QString width, height;
    const CollectedValues values = collectValues(controls, read, true, true, width, height);
    QVERIFY2(values.refusal.isEmpty(), qPrintable(values.refusal));

    QCOMPARE(renderWithValues(LineList(before), SettingsFile::Graphics, values.values), after);
    // A second pass over the written text changes nothing more.
    QCOMPARE(renderWithValues(LineList(after), SettingsFile::Graphics, values.values), after);
}

void TestSettings::refusedValues_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refusal"); // empty: accepted

    QTest::newRow("plain") << "Text3" << "115" << "";
    QTest::newRow("ampersand and reference") << "Text3" << "a & b &amp; &#60;" << "";
    QTest::newRow("greater-than") << "Text3" << "a>b" << "";
    QTest::newRow("non-ASCII letter") << "Text3" << "caf\u00e9" << "";
    QTest::newRow("empty") << "Text3" << "" << "";
    QTest::newRow("double quote") << "Text3" << "1\"0" << "double quote";
    QTest::newRow("less-than") << "Combo5" << "<TAA" << "\"<\"";
    QTest::newRow("line feed") << "Text10" << "8\n0" << "line break";
    QTest::newRow("carriage return") << "Text10" << "80\r" << "line break";
    QTest::newRow("line separator") << "Text10" << "8\u20280" << "line break";
    QTest::newRow("tab") << "Text1" << "1\t6" << "control character (U+0009)";
    QTest::newRow("delete") << "Text1" << "16\x7f" << "control character (U+007F)";
    QTest::newRow("lone surrogate") << "Text1" << QString(QChar(0xD800)) << "encoding cannot hold";
    QTest::newRow("resolution fine") << "Combo1" << "2560x1440" << "";
    QTest::newRow("resolution without x") << "Combo1" << "2560" << "lower-case \"x\"";
    QTest::newRow("resolution with upper-case X") << "Combo1" << "2560X1440" << "lower-case \"x\"";
    QTest::newRow("resolution empty") << "Combo1" << "" << "lower-case \"x\"";
    QTest::newRow("resolution part with quote") << "Combo1" << "2560x14\"40" << "double quote";
}

void TestSettings::refusedValues()
{
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(QString, refusal);

    FakeControls controls = startControls();
    controls.texts[control] = text;
    ReadValues read;
    QString width = "w", height = "h";
    const CollectedValues values = collectValues(controls, read, true, true, width, height);
    if (refusal.isEmpty()) {
        QVERIFY2(values.refusal.isEmpty(), qPrintable(values.refusal));
        QVERIFY(width != "w");
        return;
    }
    QVERIFY2(values.refusal.contains("\"Name of " + control + "\""), qPrintable(values.refusal));
    QVERIFY2(values.refusal.contains(refusal), qPrintable(values.refusal));
    QCOMPARE(width, QString("w")); // nothing taken

    // The same text read from the file and left alone goes back as it was read.
    if (control == "Text3" || control == "Combo5" || control == "Text10" || control == "Text1") {
        const RowIndex row = [&] {
            for (RowIndex i = 0; i < RowIndex(catalogue().size()); ++i) {
                if (QString(catalogue()[i].control) == control)
                    return i;
            }
            return -1;
        }();
        const QByteArray bytes = text.toUtf8();
        QCOMPARE(read.remember(catalogue()[row].property, bytes), QString::fromUtf8(bytes));
        controls.texts[control] = QString::fromUtf8(bytes);
        const CollectedValues again = collectValues(controls, read, true, true, width, height);
        QVERIFY2(again.refusal.isEmpty(), qPrintable(again.refusal));
        QCOMPARE(again.values[row], bytes);
    }
}
