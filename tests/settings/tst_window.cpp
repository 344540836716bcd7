// SPDX-License-Identifier: MIT
// The window reading and writing real settings files: values, clicks, rounds and generated files.
#include "tst_settings.h"

#include "common/fakeplatform.h"
#include "form1.h"
#include "settings/catalogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>

using namespace tarnwell;

namespace {

const QByteArray kHead = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Data template=\"GcGraphicsSettings\">\n";

// A graphics file as the game writes it: one tab, line feeds.
QByteArray gameGraphicsFile()
{
    const QList<QPair<QByteArray, QByteArray>> values = {
        {"FullScreen", "true"},        {"Borderless", "false"},          {"ResolutionWidth", "2560"},
        {"ResolutionHeight", "1440"},  {"VsyncEx", "On"},                {"Gsync", "false"},
        {"UseScreenResolution", "true"}, {"ShadowDetail", "High"},       {"TextureDetail", "Ultra"},
        {"GenerationDetail", "High"},  {"ReflectionsQuality", "Normal"}, {"AntiAliasingEx2", "TAA"},
        {"MotionBlurQuality", "Off"},  {"MotionBlurStrength", "90"},     {"AnisotropyLevel", "8"},
        {"FoVOnFoot", "100"},          {"FoVInShip", "110"},             {"Brightness", "120"},
        {"MaxframeRate", "144"},       {"NumHighThreads", "6"},          {"NumLowThreads", "2"},
        {"TextureStreamingEx", "Auto"}, {"TexturePageSizeKb", "512"},    {"AmbientOcclusion", "HBAO"},
        {"UseHDR", "false"},           {"UseLightshafts", "true"},       {"MouseClickSpeedMultiplier", "0.50"},
        {"EnableTessellation", "true"}, {"DLSSQuality", "Balanced"}};
    QByteArray text = kHead;
    for (const auto &[name, value] : values)
        text += prop("\t", name, value) + "\n";
    return text + "</Data>\n";
}

const QStringList kGameGraphicsShown = {
    "Check1=1", "Check2=0", "Combo1=2560x1440", "Check3=1", "Check8=0", "Check10=1", "Combo7=High", "Combo2=Ultra",
    "Combo3=High", "Combo4=Normal", "Combo5=TAA", "Combo6=Off", "Text7=90", "Text1=8", "Text2=100", "Text8=110",
    "Text3=120", "Text4=144", "Text5=6", "Text9=2", "Check4=1", "Text6=512", "Check7=1", "Check5=0", "Check6=1",
    "Check9=1", "Check13=1"};

QByteArray userFile(const QByteArray &musicVolume = "50")
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Data template=\"GcUserSettingsData\">\n"
        + prop("\t", "Vibration", "true") + "\n" + prop("\t", "HUDHidden", "false") + "\n"
        + prop("\t", "MusicVolume", musicVolume) + "\n" + prop("\t", "SfxVolume", "70") + "\n</Data>\n";
}

QByteArray crlf(QByteArray text)
{
    return text.replace("\n", "\r\n");
}

int controlNumber(const QString &control)
{
    return control.mid(control.indexOf(QRegularExpression("[0-9]"))).toInt();
}

// "Check1=1", "Text3= 90 ", "Combo1=x1080": a control and its value.
void setControl(Form1 *form, const QString &setting)
{
    const QString control = setting.section('=', 0, 0);
    const QString value = setting.section('=', 1);
    const int n = controlNumber(control);
    if (control.startsWith("Check"))
        form->check(n)->setChecked(value == "1");
    else if (control.startsWith("Text"))
        form->text(n)->setText(value);
    else
        form->combo(n)->setEditText(value);
}

QString controlValue(Form1 *form, const QString &control)
{
    const int n = controlNumber(control);
    if (control.startsWith("Check"))
        return form->check(n)->isChecked() ? "1" : "0";
    if (control.startsWith("Text"))
        return form->text(n)->text();
    return form->combo(n)->currentText();
}

ino_t inode(const QString &path)
{
    struct stat info {};
    return ::stat(path.toLocal8Bit().constData(), &info) == 0 ? info.st_ino : 0;
}

} // namespace

void TestSettings::readIntoWindow_data()
{
    QTest::addColumn<QByteArray>("graphics"); // null: no file
    QTest::addColumn<QByteArray>("user");
    QTest::addColumn<QStringList>("before");  // controls set before the read
    QTest::addColumn<QStringList>("shown");   // controls after it
    QTest::addColumn<int>("graphicsLines");

    const QByteArray none;
    QTest::newRow("game's graphics file") << gameGraphicsFile() << none << QStringList{} << kGameGraphicsShown << 33;
    QTest::newRow("same file with CR LF") << crlf(gameGraphicsFile()) << none << QStringList{} << kGameGraphicsShown << 33;
    QTest::newRow("file written by the tool") << gameGraphicsFile() + "\r\n" << none << QStringList{} << kGameGraphicsShown << 33;
    QTest::newRow("last line without line feed") << gameGraphicsFile().chopped(1) << none << QStringList{} << kGameGraphicsShown << 32;
    QTest::newRow("FullScreen true clears Borderless") << prop("\t", "FullScreen", "true") + "\n" << none
        << QStringList{"Check2=1"} << QStringList{"Check1=1", "Check2=0"} << 2;
    QTest::newRow("Borderless true clears FullScreen") << prop("\t", "Borderless", "true") + "\n" << none
        << QStringList{"Check1=1"} << QStringList{"Check1=0", "Check2=1"} << 2;
    QTest::newRow("FullScreen false leaves both") << prop("\t", "FullScreen", "false") + "\n" << none
        << QStringList{"Check1=1", "Check2=1"} << QStringList{"Check1=1", "Check2=1"} << 2;
    QTest::newRow("MouseClick 0.01 clears") << prop("\t", "MouseClickSpeedMultiplier", "0.01") + "\n" << none
        << QStringList{"Check9=1"} << QStringList{"Check9=0"} << 2;
    QTest::newRow("no Brightness line keeps 200") << kHead + "</Data>\n" << none
        << QStringList{"Text3=200"} << QStringList{"Text3=200"} << 4;
    QTest::newRow("later Brightness wins")
        << prop("\t", "Brightness", "100") + "\n" + prop("\t", "Brightness", "120") + "\n" << none
        << QStringList{} << QStringList{"Text3=120"} << 3;
    QTest::newRow("empty value empties") << prop("\t", "Brightness", "") + "\n" << none
        << QStringList{"Text3=200"} << QStringList{"Text3="} << 2;
    QTest::newRow("line too short for a value") << QByteArray("\t<Property name=\"Brightness\" va\n") << none
        << QStringList{"Text3=200"} << QStringList{"Text3="} << 2;
    QTest::newRow("blanks and references verbatim") << prop("\t", "Brightness", " 9&amp;0 ") + "\n" << none
        << QStringList{} << QStringList{"Text3= 9&amp;0 "} << 2;
    QTest::newRow("UTF-8 value") << prop("\t", "AntiAliasingEx2", "T\xC3\xA9") + "\n"
        << none << QStringList{} << QStringList{"Combo5=T\u00e9"} << 2;
    QTest::newRow("height before width at first read") << prop("\t", "ResolutionHeight", "1080") + "\n" << none
        << QStringList{} << QStringList{"Combo1=x1080"} << 2;
    QTest::newRow("resolution that is no entry")
        << prop("\t", "ResolutionWidth", "2560") + "\n" + prop("\t", "ResolutionHeight", "1440") + "\n" << none
        << QStringList{} << QStringList{"Combo1=2560x1440"} << 3;
    QTest::newRow("graphics missing, user present") << none << userFile()
        << QStringList{"Text3=200"} << QStringList{"Text3=200", "Check11=1", "Check12=0", "Text11=50", "Text10=70"} << 0;
    QTest::newRow("empty graphics file") << QByteArray("") << none << QStringList{"Text3=200"} << QStringList{"Text3=200"} << 0;
}

void TestSettings::readIntoWindow()
{
    QFETCH(QByteArray, graphics);
    QFETCH(QByteArray, user);
    QFETCH(QStringList, before);
    QFETCH(QStringList, shown);
    QFETCH(int, graphicsLines);

    writeGame(graphics, user);
    startForm();
    for (const QString &setting : before)
        setControl(m_form, setting);
    loadGame();
    for (const QString &setting : shown)
        QCOMPARE(setting.section('=', 0, 0) + "=" + controlValue(m_form, setting.section('=', 0, 0)), setting);
    QCOMPARE(m_form->GraphicsLines.size(), graphicsLines);
    QCOMPARE(m_form->GraphicsSettingsPath, graphicsPath());
    QCOMPARE(m_form->UserSettingsPath, userPath());
    QCOMPARE(prompts(), QStringList());
}

void TestSettings::readerDoesNotRunExclusion()
{
    writeGame(prop("\t", "FullScreen", "true") + "\n" + prop("\t", "Borderless", "false") + "\n", {});
    startForm();
    QSignalSpy fullScreen(m_form->check(1), &QCheckBox::clicked);
    QSignalSpy borderless(m_form->check(2), &QCheckBox::clicked);
    loadGame();
    QVERIFY(m_form->check(1)->isChecked());
    QCOMPARE(fullScreen.count() + borderless.count(), 0);
}

void TestSettings::hdrClickChangesOnlyItsLine()
{
    const QByteArray graphics = gameGraphicsFile() + "\r\n";
    const QByteArray user = userFile() + "\r\n";
    writeGame(graphics, user);
    loadGame();
    QVERIFY(!m_form->check(5)->isChecked());

    QTest::mouseClick(m_form->check(5), Qt::LeftButton);
    QVERIFY(m_form->check(5)->isChecked());
    QTest::mouseClick(m_form->command(1), Qt::LeftButton);

    QCOMPARE(prompts(), QStringList{"Settings written to file!"});
    const QList<QByteArray> before = graphics.split('\n');
    const QList<QByteArray> after = readFile(graphicsPath()).split('\n');
    QCOMPARE(after.size(), before.size());
    QList<int> changed;
    for (int i = 0; i < before.size(); ++i) {
        if (before[i] != after[i])
            changed << i;
    }
    QCOMPARE(changed.size(), 1);
    QCOMPARE(before[changed[0]], prop("\t", "UseHDR", "false"));
    QCOMPARE(after[changed[0]], written("UseHDR", "true"));
    QCOMPARE(readFile(userPath()), user);
}

void TestSettings::stableRounds_data()
{
    QTest::addColumn<QByteArray>("graphics");
    QTest::addColumn<QByteArray>("firstWrite");

    QByteArray game = gameGraphicsFile();
    QByteArray tool = game;
    tool.replace(prop("\t", "UseHDR", "false"), written("UseHDR", "true"));
    QTest::newRow("LF") << game << tool + "\r\n";
    QTest::newRow("LF with blank lines collapsed") << QByteArray(game).replace("<Data", "\n<Data") + "\n"
        << tool + "\r\n";
    QTest::newRow("CR LF") << crlf(game) << crlf(tool);
    QTest::newRow("CR LF with blank lines") << crlf(game + "\n\n") << crlf(tool + "\n\n");
    QTest::newRow("no final line feed") << game.chopped(1) << tool.chopped(1);
}

void TestSettings::stableRounds()
{
    QFETCH(QByteArray, graphics);
    QFETCH(QByteArray, firstWrite);
    writeGame(graphics, userFile());
    loadGame();
    QTest::mouseClick(m_form->check(5), Qt::LeftButton);

    QTest::mouseClick(m_form->command(1), Qt::LeftButton);
    QCOMPARE(readFile(graphicsPath()), firstWrite);
    const QByteArray userWritten = readFile(userPath());
    const ino_t graphicsInode = inode(graphicsPath());
    const ino_t userInode = inode(userPath());
    for (int round = 0; round < 3; ++round) {
        if (round == 1)
            QTest::mouseClick(m_form->command(3), Qt::LeftButton); // Reload between rounds too
        QTest::mouseClick(m_form->command(1), Qt::LeftButton);
        QCOMPARE(readFile(graphicsPath()), firstWrite);
        QCOMPARE(readFile(userPath()), userWritten);
    }
    // Nothing needed writing after the first round: the files were not replaced.
    QCOMPARE(inode(graphicsPath()), graphicsInode);
    QCOMPARE(inode(userPath()), userInode);
    QCOMPARE(prompts(), QStringList(4, "Settings written to file!"));
}

void TestSettings::untouchedValuesKeepTheirBytes()
{
    // Bytes that are not UTF-8 (a file of a Windows installation, say).
    const QByteArray graphics = "\xE9t\xE9\n" + prop("\t", "Brightness", "\xE9\xE8") + "\n"
        + prop("\t", "UseHDR", "false") + "\n";
    writeGame(graphics, {});
    loadGame();
    QCOMPARE(m_form->text(3)->text(), QString("\uFFFD\uFFFD"));
    QTest::mouseClick(m_form->check(5), Qt::LeftButton);
    QTest::mouseClick(m_form->command(1), Qt::LeftButton);
    QCOMPARE(readFile(graphicsPath()), "\xE9t\xE9\n" + prop("\t", "Brightness", "\xE9\xE8") + "\n"
                                           + written("UseHDR", "true") + "\n\r\n");

    // A changed value is written as the control's text.
    m_form->text(3)->setText("\u00e9");
    QTest::mouseClick(m_form->command(1), Qt::LeftButton);
    QVERIFY(readFile(graphicsPath()).contains(written("Brightness", "\xC3\xA9")));
}

namespace {

struct Generated {
    QByteArray text;
    QByteArray expected; // after Apply
    QStringList present; // controls whose property has a line
};

struct Choice {
    QRandomGenerator &random;
    template <typename T>
    const T &of(const QList<T> &items) { return items.at(random.bounded(int(items.size()))); }
    bool chance(int percent) { return int(random.bounded(100)) < percent; }
};

const QList<QByteArray> kFileValues = {"true", "false", "On", "Off", "Only", "Auto", "HBAO", "0.50", "0.01", "0.25",
                                       "", " 90 ", "&amp;", "a&#34;b", "Ultra", "caf\xC3\xA9", "\xE9", "1.5"};
const QList<QString> kControlTexts = {"115", " 90 ", "&amp;", "a&#34;b", "", "Ultra", "caf\u00e9", "1.5", "x y"};
const QList<QString> kResolutionParts = {"1920", " 1280 ", "", "2560", "1080"};

QByteArray randomBytes(Choice &choice)
{
    QByteArray bytes;
    const int length = choice.random.bounded(60);
    for (int i = 0; i < length; ++i) {
        char c = char(1 + choice.random.bounded(255));
        if (c == '\n' || c == '\r')
            c = '\t';
        bytes += c;
    }
    return bytes;
}

// Expected value of a row, from the values given to the controls.
QByteArray expectedValue(const CatalogueRow &row, const QHash<QString, QString> &controls)
{
    const QString value = controls.value(row.control);
    switch (row.kind) {
    case ControlKind::Check:
        return (value == "1" ? row.whenChecked : row.whenCleared).toByteArray();
    case ControlKind::ResWidth:
        return value.section('x', 0, 0).toUtf8();
    case ControlKind::ResHeight:
        return value.section('x', 1, 1).toUtf8();
    default:
        return value.toUtf8();
    }
}

Generated generate(Choice &choice, SettingsFile file, const QHash<QString, QString> &controls)
{
    QList<const CatalogueRow *> rows;
    for (const CatalogueRow &row : catalogue()) {
        if (row.file == file)
            rows << &row;
    }
    const QByteArray other = file == SettingsFile::Graphics ? "Vibration" : "UseHDR";
    const QList<QByteArray> otherLines = {
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>", "<Data template=\"GcGraphicsSettings\">", "</Data>",
        prop("\t", "SomethingElse", "1"), prop("\t", "fullscreen", "true"), prop("  ", "UseHDR", "true"),
        prop("\t", "UseHDRExtra", "true"), prop("\t", other, "true"), "\t", " ", "a\rb", "\t\t<Inner>"};

    Generated result;
    QByteArray output;
    const bool crlfFile = choice.chance(50);
    const int count = 1 + choice.random.bounded(40);
    for (int i = 0; i < count; ++i) {
        QByteArray line;
        QByteArray after;
        const int kind = choice.random.bounded(100);
        if (kind < 35) {
            const CatalogueRow &row = *choice.of(rows);
            const char indent[2] = {choice.of(QList<char>{'\t', ' ', 'x'}), 0};
            line = prop(indent, row.property.toByteArray(), choice.of(kFileValues));
            after = written(row.property.toByteArray(), expectedValue(row, controls));
            if (line.mid(1) == after.mid(1))
                after = line; // already says it: left as it was
            result.present << row.control;
        } else if (kind < 50) {
            after = line = QByteArray("");
        } else if (kind < 60) {
            after = line = randomBytes(choice);
        } else {
            after = line = choice.of(otherLines);
        }
        const bool last = i == count - 1;
        QByteArray end = (crlfFile != choice.chance(10)) ? "\r\n" : "\n";
        if (last && choice.chance(40))
            end = "";
        result.text += line + end;
        output += after + end;
    }
    output.replace("\n\n", "\n"); // pairs, left to right
    if (output.endsWith('\n') && !output.endsWith("\r\n"))
        output += "\r\n";
    result.expected = output;
    return result;
}

} // namespace

void TestSettings::roundTrip()
{
    startForm();
    QRandomGenerator random(20240611);
    Choice choice{random};
    for (int round = 0; round < 150; ++round) {
        // The values the user sets after the read.
        QHash<QString, QString> controls;
        for (const CatalogueRow &row : catalogue()) {
            if (row.kind == ControlKind::Check)
                controls[row.control] = choice.chance(50) ? "1" : "0";
            else if (row.kind == ControlKind::Text || row.kind == ControlKind::Combo)
                controls[row.control] = choice.of(kControlTexts);
        }
        if (controls["Check1"] == "1")
            controls["Check2"] = "0";
        controls["Combo1"] = choice.of(kResolutionParts) + "x" + choice.of(kResolutionParts);

        const Generated graphics = generate(choice, SettingsFile::Graphics, controls);
        const Generated user = generate(choice, SettingsFile::User, controls);
        writeFile(graphicsPath(), graphics.text); // empty ones too
        writeFile(userPath(), user.text);
        loadGame();
        for (auto it = controls.cbegin(); it != controls.cend(); ++it)
            setControl(m_form, it.key() + "=" + it.value());

        const QString tag = QString("round %1").arg(round);
        QVERIFY2(m_form->WriteConfig(), qPrintable(prompts().join('\n')));
        QCOMPARE(readFile(graphicsPath()), graphics.expected);
        QCOMPARE(readFile(userPath()), user.expected);

        // Reload shows what was written.
        for (auto it = controls.cbegin(); it != controls.cend(); ++it)
            setControl(m_form, it.key() + (it.key().startsWith("Check") ? "=0" : "=?"));
        m_form->ReadConfig();
        QStringList present = graphics.present + user.present;
        present.removeDuplicates();
        for (const QString &control : std::as_const(present)) {
            if (control == "Combo1" && !graphics.text.contains("\"ResolutionHeight\""))
                continue;
            QVERIFY2(controlValue(m_form, control) == controls[control],
                     qPrintable(control + " shows " + controlValue(m_form, control) + " in " + tag));
        }
        QCOMPARE(prompts(), QStringList());
    }
}
