// SPDX-License-Identifier: MIT
// What the window says: every caption to the letter, the captions' fonts and colours, every list's entries.
#include "common/fakeplatform.h"
#include "form1.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>

class TestTexts : public QObject
{
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
};

void TestTexts::texts_data()
{
    QTest::addColumn<QStringList>("texts"); // "control=caption", or the entries of the list named by the row
    QTest::addColumn<QString>("look");      // the captions' font and text colour; empty for a list

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

void TestTexts::texts()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, look);
    QTemporaryDir dir; // an empty program folder: no executable chosen
    FakePlatform platform;
    platform.folder = dir.path();
    Form1 form(platform);
    form.Form_Load();

    if (look.isEmpty()) {
        auto *list = form.findChild<QComboBox *>(QTest::currentDataTag());
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
        auto *control = form.findChild<QWidget *>(name);
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

QTEST_MAIN(TestTexts)
#include "tst_texts.moc"
