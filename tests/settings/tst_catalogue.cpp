// SPDX-License-Identifier: MIT
// Every property the tool handles, through a real file and the real window in both directions.
#include "tst_settings.h"

#include <QRegularExpression>

namespace {

// Every settings control with its value: "Check1=0", ..., "Combo7=Low".
QStringList allControls(Form1 *form)
{
    QStringList values;
    for (const auto &[kind, count] : {std::pair{"Check", 13}, std::pair{"Text", 11}, std::pair{"Combo", 7}}) {
        for (int n = 1; n <= count; ++n)
            values << kind + QString::number(n) + "=" + controlValue(form, kind + QString::number(n));
    }
    return values;
}

} // namespace

void TestSettings::catalogue_data()
{
    QTest::addColumn<bool>("user");                // the user settings file, else the graphics file
    QTest::addColumn<QByteArray>("lines");         // the file as the game wrote it
    QTest::addColumn<QStringList>("shown");        // every control the read changes, with its value
    QTest::addColumn<QStringList>("set");          // then set by the user, one "Apply" each
    QTest::addColumn<QList<QByteArray>>("after");  // the file's lines after each "Apply"

    using B = QList<QByteArray>;
    // A box that the value `on` checks (clearing `clears`); it writes `off` when cleared and `on` when checked.
    const auto check = [&](bool user, const char *name, const QString &box, const char *on, const char *off,
                           const QString &clears = {}) {
        const L shown = clears.isEmpty() ? L{box + "=1"} : L{box + "=1", clears + "=0"};
        QTest::newRow(name) << user << in(name, on) << shown << L{box + "=0", box + "=1"}
                            << B{out(name, off), out(name, on)};
    };
    // A text box or list that shows `read` and writes what the user typed.
    const auto value = [&](bool user, const char *name, const QString &control, const char *read, const char *typed) {
        QTest::newRow(name) << user << in(name, read) << L{control + "=" + read} << L{control + "=" + typed}
                            << B{out(name, typed)};
    };
    const QByteArray width = "ResolutionWidth", height = "ResolutionHeight", mouse = "MouseClickSpeedMultiplier";

    check(false, "FullScreen", "Check1", "true", "false", "Check2");
    check(false, "Borderless", "Check2", "true", "false", "Check1");
    QTest::newRow("ResolutionWidth, ResolutionHeight") << false << in(width, "2560") + in(height, "1440")
        << L{"Combo1=2560x1440"} << L{"Combo1=1920x1080x60", "Combo1=1280x720"}
        << B{out(width, "1920") + out(height, "1080"), out(width, "1280") + out(height, "720")};
    check(false, "VsyncEx", "Check3", "On", "Off");
    check(false, "Gsync", "Check8", "true", "false");
    check(false, "UseScreenResolution", "Check10", "true", "false");
    value(false, "ShadowDetail", "Combo7", "Ultra", "Normal");
    value(false, "TextureDetail", "Combo2", "High", "Ultra");
    value(false, "GenerationDetail", "Combo3", "High", "Epic");
    value(false, "ReflectionsQuality", "Combo4", "Normal", "High");
    value(false, "AntiAliasingEx2", "Combo5", "TAA_LOW", "FXAA");
    value(false, "MotionBlurQuality", "Combo6", "Normal", "Ultra");
    value(false, "MotionBlurStrength", "Text7", "150", "200");
    value(false, "AnisotropyLevel", "Text1", "8", "2");
    value(false, "FoVOnFoot", "Text2", "75", "90");
    value(false, "FoVInShip", "Text8", "100", "110");
    value(false, "Brightness", "Text3", "120", "95");
    value(false, "MaxframeRate", "Text4", "144", "60");
    value(false, "NumHighThreads", "Text5", "6", "8");
    value(false, "NumLowThreads", "Text9", "2", "3");
    check(false, "TextureStreamingEx", "Check4", "Auto", "Off");
    value(false, "TexturePageSizeKb", "Text6", "512", "1024");
    check(false, "AmbientOcclusion", "Check7", "HBAO", "Off");
    check(false, "UseHDR", "Check5", "true", "false");
    check(false, "UseLightshafts", "Check6", "true", "false");
    check(false, "MouseClickSpeedMultiplier", "Check9", "0.50", "0.01");
    QTest::newRow("MouseClickSpeedMultiplier 0.01 clears") << false << in(mouse, "0.01") << L{"Check9=0"}
        << L{"Check9=1", "Check9=0"} << B{out(mouse, "0.50"), out(mouse, "0.01")};
    check(false, "EnableTessellation", "Check13", "true", "false");
    check(true, "Vibration", "Check11", "true", "false");
    check(true, "HUDHidden", "Check12", "true", "false");
    value(true, "MusicVolume", "Text11", "50", "25");
    value(true, "SfxVolume", "Text10", "60", "70");
}

void TestSettings::catalogue()
{
    QFETCH(bool, user);
    QFETCH(QByteArray, lines);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, set);
    QFETCH(QList<QByteArray>, after);

    writeGame(user ? QByteArray() : lines, user ? lines : QByteArray()); // the other file is missing
    startForm();
    // Each box the read changes holds the other value before it.
    for (const QString &setting : shown) {
        if (setting.startsWith("Check"))
            setControl(m_w->form.get(), setting.chopped(1) + (setting.endsWith('1') ? '0' : '1'));
    }
    QStringList expected = allControls(m_w->form.get());
    for (const QString &setting : shown)
        expected[expected.indexOf(QRegularExpression(setting.section('=', 0, 0) + "=.*"))] = setting;
    loadGame();
    QCOMPARE(allControls(m_w->form.get()), expected); // the row's controls changed, no other
    for (qsizetype i = 0; i < set.size(); ++i) {
        setControl(m_w->form.get(), set[i]);
        apply();
        QCOMPARE(prompts(), L{"Settings written to file!"});
        m_w->platform.messages.clear();
        QCOMPARE(readFile(user ? userPath() : graphicsPath()), after[i] + "\r\n");
    }

    // "Reload" shows what was written, in place of what the user changed since.
    const QStringList applied = allControls(m_w->form.get());
    const QString last = set.last().section('=', 0, 0);
    setControl(m_w->form.get(), last + (!last.startsWith("Check") ? "=?" : set.last().endsWith('1') ? "=0" : "=1"));
    m_w->platform.pressed.enqueue(1); // "Discard and read"
    QTest::mouseClick(m_w->form->command(3), Qt::LeftButton);
    QCOMPARE(allControls(m_w->form.get()), applied);
}
