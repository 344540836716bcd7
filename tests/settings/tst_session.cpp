// SPDX-License-Identifier: MIT
// The settings session without a window: controls as plain values, real files in a temporary game folder.
#include "common/testfiles.h"
#include "settings/settingssession.h"

#include <QTemporaryDir>

#include <functional>
#include <QTest>

using namespace tarnwell;
using namespace testsupport;

namespace {

// "1"/"0" for a check box, the text otherwise; a control's name is its setting's name.
class FakeControls final : public SettingsControls
{
public:
    QHash<QString, QString> values;
    bool isChecked(QLatin1String control) const override { return values.value(control) == "1"; }
    void setChecked(QLatin1String control, bool checked) override { values[control] = checked ? "1" : "0"; }
    QString text(QLatin1String control) const override { return values.value(control); }
    void setText(QLatin1String control, const QString &text) override { values[control] = text; }
    QString settingName(QLatin1String control) const override { return control; }
};

// Answers every question with `yes` and keeps what a merge question would list.
class FakeQuestions final : public WriteQuestions
{
public:
    bool yes = true;
    QStringList listed;
    bool writeMerged(const QString &, const Merge &merge) override
    {
        listed << merge.yours + merge.theirs + merge.both;
        return yes;
    }
    bool writeReadOnly(const QString &) override { return yes; }
    // While the copy of the file is kept, right before the replace: what the game does meanwhile.
    std::function<void()> whileKept;
    QString beforeReplace(const QString &, QByteArrayView) override
    {
        if (whileKept)
            std::exchange(whileKept, {})();
        return {};
    }
};

QByteArray line(const char *indent, const QByteArray &name, const QByteArray &value)
{
    return indent + ("<Property name=\"" + name + "\" value=\"" + value + "\" />\n");
}
QByteArray in(const QByteArray &name, const QByteArray &value) { return line("\t", name, value); }
QByteArray out(const QByteArray &name, const QByteArray &value) { return line(" ", name, value); }
const QByteArray kGraphics = "<Data>\n" + in("Brightness", "120") + in("MaxframeRate", "144") + "</Data>\n";
const QByteArray kUser = "<Data>\n" + in("MusicVolume", "50") + "</Data>\n";

// The shared builder: a game folder with the files given (null: none) and a session over fake controls.
struct Game {
    QTemporaryDir dir;
    FakeControls controls;
    SettingsSession session{controls};
    FakeQuestions ask;

    explicit Game(const QByteArray &graphics = kGraphics, const QByteArray &user = kUser)
    {
        // As in a fresh window: every box cleared, every text a value that can be written.
        for (const CatalogueRow &row : catalogue())
            controls.values[row.control] = row.kind == ControlKind::Check ? "0" : "60";
        controls.values["Combo1"] = "1920x1080";
        controls.values["Text1"] = "16";
        put(graphicsPath(), graphics);
        put(userPath(), user);
    }
    QString folder() const { return dir.path() + "/"; }
    QString graphicsPath() const { return folder() + "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML"; }
    QString userPath() const { return folder() + "Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML"; }
    static void put(const QString &path, const QByteArray &bytes) { QVERIFY(bytes.isNull() || writeFile(path, bytes)); }
    void read() { QCOMPARE(session.read(folder()), QString()); }
    void apply()
    {
        session.takeResolution();
        const ApplyReport report = session.write(ask);
        QVERIFY2(report.ok, qPrintable(report.message));
    }
};

} // namespace

class TestSession : public QObject
{
    Q_OBJECT

private slots:
    void catalogueRow_data();
    void catalogueRow();

    void missingFileIsToldApart()
    {
        Game game(kGraphics, QByteArray());
        game.read();
        const QString user = nativePath(game.userPath());
        QCOMPARE(game.session.unreadReason(SettingsFile::User), "Not read from any file: " + user
                 + " does not exist yet. Start the game once, then press Reload.");
        Game::put(game.userPath(), kUser);
        game.read();
        QVERIFY(QFile::remove(game.userPath()));
        game.read();
        QCOMPARE(game.session.unreadReason(SettingsFile::User), "Not read from any file: " + user
                 + " was deleted. Start the game to make it again, then press Reload.");
        QCOMPARE(game.session.unreadReason(SettingsFile::Graphics), QString());
    }

    // The game changes one setting and adds another while the user edits a third: only the edit goes in.
    void mergeKeepsWhatTheGameChangedAndAdded()
    {
        Game game;
        game.read();
        game.controls.values["Text3"] = "90";
        Game::put(game.graphicsPath(),
                  "<Data>\n" + in("Brightness", "120") + in("MaxframeRate", "60") + in("FoVInShip", "") + "</Data>\n");
        game.apply();
        QCOMPARE(game.ask.listed, QStringList({"Text3: 90", "Text8: ", "Text4: 60"}));
        QCOMPARE(readFile(game.graphicsPath()), "<Data>\n" + out("Brightness", "90") + out("MaxframeRate", "60")
                 + out("FoVInShip", "") + "</Data>\n\r\n");
        QCOMPARE(game.controls.values["Text4"], "60");
    }

    // The game writes the file while its copy is kept: the file is looked at once more after that, the
    // game's change merged with the user's, and nothing of it lost.
    void gameWritesWhileTheCopyIsKept()
    {
        Game game;
        game.read();
        game.controls.values["Text3"] = "90";
        game.ask.whileKept = [&game] {
            Game::put(game.graphicsPath(), "<Data>\n" + in("Brightness", "120") + in("MaxframeRate", "60") + "</Data>\n");
        };
        game.apply();
        QCOMPARE(game.ask.listed, QStringList({"Text3: 90", "Text4: 60"}));
        QCOMPARE(readFile(game.graphicsPath()),
                 "<Data>\n" + out("Brightness", "90") + out("MaxframeRate", "60") + "</Data>\n\r\n");
    }

    void unsavedEditsFollowReadAndWrite()
    {
        Game game(kGraphics, QByteArray());
        game.read();
        game.controls.values["Text11"] = "80"; // its file was not read: nothing to lose
        QVERIFY(!game.session.hasUnsavedEdits());
        Game::put(game.userPath(), kUser);
        game.read();
        game.controls.values["Text3"] = "90";
        QVERIFY(game.session.hasUnsavedEdits());
        game.session.showLastRead();
        QCOMPARE(game.controls.values["Text3"] + game.controls.values["Text11"], "12050");
        QVERIFY(!game.session.hasUnsavedEdits());
        game.controls.values["Text11"] = "80"; // an edit in either file counts
        QVERIFY(game.session.hasUnsavedEdits());
        game.controls.values["Text3"] = "90";
        game.apply();
        QVERIFY(!game.session.hasUnsavedEdits());
        QCOMPARE(readFile(game.graphicsPath()), "<Data>\n" + out("Brightness", "90") + out("MaxframeRate", "144")
                 + "</Data>\n\r\n");
        QCOMPARE(readFile(game.userPath()), "<Data>\n" + out("MusicVolume", "80") + "</Data>\n\r\n");
        QVERIFY(game.ask.listed.isEmpty()); // nothing changed on disk: nothing asked
    }
};

void TestSession::catalogueRow_data()
{
    QTest::addColumn<bool>("user");                // the user settings file, else the graphics file
    QTest::addColumn<QByteArray>("lines");         // the file as the game wrote it
    QTest::addColumn<QStringList>("shown");        // every control the read changes, with its value
    QTest::addColumn<QStringList>("set");          // then set by the user, one "Apply" each
    QTest::addColumn<QList<QByteArray>>("after");  // the file's lines after each "Apply"

    using B = QList<QByteArray>;
    using L = QStringList;
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

void TestSession::catalogueRow()
{
    QFETCH(bool, user);
    QFETCH(QByteArray, lines);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, set);
    QFETCH(QList<QByteArray>, after);
    Game game(user ? QByteArray() : lines, user ? lines : QByteArray()); // the other file is missing
    QHash<QString, QString> expected = game.controls.values;
    for (const QString &setting : shown) {
        const QString control = setting.section('=', 0, 0);
        expected[control] = setting.section('=', 1);
        if (control.startsWith("Check")) // each box the read changes holds the other value before it
            game.controls.values[control] = setting.endsWith('1') ? "0" : "1";
    }
    game.read();
    QCOMPARE(game.controls.values, expected); // the row's controls changed, no other
    for (qsizetype i = 0; i < set.size(); ++i) {
        game.controls.values[set[i].section('=', 0, 0)] = set[i].section('=', 1);
        game.apply();
        QCOMPARE(readFile(user ? game.userPath() : game.graphicsPath()), after[i] + "\r\n");
    }
    // Discarded edits and a new read show what was written.
    const QHash<QString, QString> applied = game.controls.values;
    game.controls.values[set.last().section('=', 0, 0)] = "?";
    game.session.showLastRead();
    game.read();
    QCOMPARE(game.controls.values, applied);
}

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
