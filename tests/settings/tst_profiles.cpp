// SPDX-License-Identifier: MIT
// Profiles without a window: their file format and folder, the checks of their values, putting them
// into controls, the values first found, what Apply would change, and --profile auto's rules.
#include "common/testfiles.h"
#include "settings/autoprofile.h"
#include "settings/heldcontrols.h"
#include "settings/pendingchanges.h"
#include "settings/profilestore.h"
#include "settings/profilevalues.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tarnwell;
using namespace testsupport;

namespace {

using Values = QMap<QString, QString>;
const QByteArray kHandheld = "{\n    \"format\": \"tarnwell-profile-1\",\n    \"name\": \"Handheld\",\n    \"settings\": {\n"
                             "        \"Brightness\": \"90\",\n        \"FutureSetting\": \"x\",\n"
                             "        \"UseHDR\": \"false\"\n    }\n}\n";
const Values kHandheldValues{{"Brightness", "90"}, {"FutureSetting", "x"}, {"UseHDR", "false"}};

// A power supply as Linux shows it: its folder and the attributes given ("type=Battery", ...).
void supply(const QString &folder, const QString &name, const QStringList &attributes)
{
    for (const QString &attribute : attributes)
        QVERIFY(writeFile(folder + "/" + name + "/" + attribute.section('=', 0, 0), attribute.section('=', 1).toUtf8() + "\n"));
}

} // namespace

class TestProfiles : public QObject
{
    Q_OBJECT

private slots:
    // The file format, byte for byte: what the README documents.
    void format()
    {
        QCOMPARE(profileJson({"Handheld", kHandheldValues}), kHandheld);
        const ParsedProfile parsed = parseProfile(kHandheld, "file name");
        QVERIFY2(parsed.ok(), qPrintable(parsed.problem));
        QCOMPARE(parsed.profile.name, "Handheld");
        QCOMPARE(parsed.profile.values, kHandheldValues); // an unknown name is kept, never dropped
    }

    void parse_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");    // as read
        QTest::addColumn<QString>("problem"); // the sentence after the file's name
        QTest::newRow("no name: the file's") << QByteArray("{\"settings\": {}}") << "file name" << "";
        QTest::newRow("syntax error") << QByteArray("{\n  \"settings\": {\n    \"UseHDR\" \"true\"\n  }\n}") << ""
                                      << "It is not valid JSON: missing name separator at line 3, column 14.";
        QTest::newRow("a number for a value") << QByteArray("{\"settings\": {\"Brightness\": 90, \"UseHDR\": true}}")
            << "file name" << "The values of Brightness, UseHDR are not in double quotes: every value is a text, as "
                              "the game's file holds it (\"0.50\", \"true\").";
        QTest::newRow("no settings") << QByteArray("[1, 2]") << ""
                                     << "It is no profile: it holds no \"settings\" object.";
        QTest::newRow("another format") << QByteArray("{\"format\": \"other\", \"settings\": {}}") << ""
            << "It is no profile of this Tarnwell: its \"format\" is not \"tarnwell-profile-1\".";
    }

    void parse()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(QString, problem);
        const ParsedProfile parsed = parseProfile(bytes, "file name");
        QCOMPARE(parsed.problem, problem);
        QCOMPARE(parsed.profile.name, name);
    }

    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("problem"); // empty: a good name
        QTest::newRow("plain") << "Steam Deck (docked) 1.2" << "";
        QTest::newRow("empty") << "" << "is empty";
        QTest::newRow("slash") << "a/b" << "holds \"/\", which a file name cannot hold";
        QTest::newRow("colon") << "a:b" << "holds \":\", which a file name cannot hold";
        QTest::newRow("trailing blank") << "Docked " << "begins or ends with a blank, or ends with a dot, which "
                                                        "Windows drops from file names";
        QTest::newRow("leading dot") << ".hidden" << "begins with a dot, which hides a file";
        QTest::newRow("device") << "nul.x" << "is a name that Windows keeps for a device";
        QTest::newRow("auto") << "Auto" << "is kept for --profile auto, which picks a profile by the power supply";
        QTest::newRow("65 characters") << QString(65, 'a') << "is longer than 64 characters";
        QTest::newRow("tab") << "a\tb" << "holds a control character";
    }

    void names()
    {
        QFETCH(QString, name);
        QFETCH(QString, problem);
        QCOMPARE(profileNameProblem(name), problem);
    }

    void check_data()
    {
        QTest::addColumn<Values>("values");
        QTest::addColumn<QStringList>("refused");
        QTest::addColumn<QStringList>("unknown");
        QTest::newRow("in range") << Values{{"Brightness", "300"}, {"ResolutionWidth", "1280"}, {"VsyncEx", "Off"},
                                            {"MouseClickSpeedMultiplier", "0.01"}, {"TextureDetail", "Epic"}}
                                  << QStringList() << QStringList();
        QTest::newRow("out of range, every one named") << Values{{"Brightness", "301"}, {"ResolutionHeight", "1080p"},
                                                                 {"UseHDR", "yes"}, {"Gsync", "True"}}
            << QStringList{"Brightness \"301\": it takes a number from 0 to 300.",
                           "Gsync \"True\": it takes \"true\" or \"false\".",
                           "ResolutionHeight \"1080p\": it takes a whole number from 1 to 16384.",
                           "UseHDR \"yes\": it takes \"true\" or \"false\"."} << QStringList();
        QTest::newRow("breaks the file") << Values{{"ShadowDetail", "a\"b"}}
            << QStringList{"ShadowDetail \"a\"b\": it holds a double quote (\"), which would end the value early."}
            << QStringList();
        QTest::newRow("as read, out of range") << Values{{"MaxframeRate", "5000"}} << QStringList() << QStringList();
        QTest::newRow("unknown names") << Values{{"FutureSetting", "x"}, {"brightness", "1"}} << QStringList()
                                       << QStringList{"FutureSetting", "brightness"};
        QTest::newRow("FullScreen and Borderless") << Values{{"FullScreen", "true"}, {"Borderless", "true"}}
            << QStringList{"FullScreen \"true\" and Borderless \"true\": only one of them can be on."} << QStringList();
    }

    void check()
    {
        QFETCH(Values, values);
        QFETCH(QStringList, refused);
        QFETCH(QStringList, unknown);
        ReadValues read;
        read.remember("MaxframeRate", "5000"); // the file held it: it may go back as it came
        const ValueCheck check = checkValues(values, read);
        QCOMPARE(check.refused, refused);
        QCOMPARE(check.unknown, unknown);
    }

    void putAndTake_data()
    {
        QTest::addColumn<Values>("values");
        QTest::addColumn<QStringList>("shown"); // control=value after the values went in
        QTest::newRow("texts and boxes") << Values{{"Brightness", "90"}, {"UseHDR", "true"}, {"VsyncEx", "Off"}}
                                         << QStringList{"Text3=90", "Check5=1", "Check3=0", "Check1=1"};
        QTest::newRow("FullScreen clears Borderless") << Values{{"Borderless", "true"}}
                                                      << QStringList{"Check2=1", "Check1=0"};
        QTest::newRow("one half of the resolution") << Values{{"ResolutionHeight", "800"}}
                                                    << QStringList{"Combo1=1920x800"};
        QTest::newRow("the other box of two rows") << Values{{"MouseClickSpeedMultiplier", "0.50"}}
                                                   << QStringList{"Check9=1"};
    }

    void putAndTake()
    {
        QFETCH(Values, values);
        QFETCH(QStringList, shown);
        HeldControls controls;
        QCOMPARE(controls.text(QLatin1String("Combo1")), "320x200"); // as the window starts
        controls.setText(QLatin1String("Combo1"), "1920x1080");
        controls.setChecked(QLatin1String("Check1"), true);
        putValues(values, controls);
        for (const QString &control : shown) {
            const QByteArray bytes = control.section('=', 0, 0).toLatin1();
            const QLatin1String name(bytes);
            const QString value = control.startsWith("Check") ? QString::number(controls.isChecked(name))
                                                              : controls.text(name);
            QCOMPARE(control.section('=', 0, 0) + "=" + value, control);
        }
        QCOMPARE(takeValues(controls, values.keys(), {}), values); // what goes in comes out as the file holds it
    }

    // A value far too long for a setting shows shortened: that text is no value to keep.
    void longValueLeftOut()
    {
        HeldControls controls;
        ReadValues read;
        controls.setText(QLatin1String("Combo7"), read.remember("ShadowDetail", QByteArray(70000, 'a')));
        QCOMPARE(takeValues(controls, {"ShadowDetail", "Brightness"}, read), Values({{"Brightness", "115"}}));
    }

    // One file a profile, found by its name in any letter case; listed sorted; deleted.
    void store()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("profiles");
        QCOMPARE(listProfiles(folder).folderExists, false);
        QCOMPARE(storeProfile(folder, {"Handheld", kHandheldValues}), QString());
        QCOMPARE(readFile(folder + "/Handheld.json"), kHandheld);
        QCOMPARE(storeProfile(folder, {"docked", {}}), QString());
        QVERIFY(writeFile(folder + "/not a profile.txt"));
        QVERIFY(writeFile(folder + "/auto.json"));
        QCOMPARE(listProfiles(folder).names, QStringList({"docked", "Handheld"}));
        const ProfileFile loaded = loadProfile(folder, "HANDHELD");
        QCOMPARE(loaded.status, ProfileFile::Read);
        QCOMPARE(loaded.profile.name, "Handheld"); // the file's name, not the one asked for
        QCOMPARE(loadProfile(folder, "Nope").problem,
                 "There is no profile named \"Nope\" in " + nativePath(folder) + ".");
        QVERIFY(writeFile(folder + "/Broken.json", "{"));
        QCOMPARE(loadProfile(folder, "Broken").problem, nativePath(folder + "/Broken.json")
                 + " cannot be used as a profile. It is not valid JSON: unterminated object at line 1, column 1.");
        QCOMPARE(deleteProfile(folder, "handheld"), QString());
        QCOMPARE(listProfiles(folder).names, QStringList({"Broken", "docked"}));
    }

    // Each setting's value is kept once, from the first read that held it.
    void firstFound()
    {
        QTemporaryDir dir;
        const QString game = dir.filePath("Game/");
        QCOMPARE(keepFirstFound(dir.path(), game, {{"Brightness", "120"}}), QString());
        QCOMPARE(keepFirstFound(dir.path(), game, {{"Brightness", "90"}, {"MusicVolume", "50"}}), QString());
        const QString path = firstFoundPath(dir.path(), game);
        QVERIFY(path.startsWith(nativePath(dir.filePath("first-found/"))));
        QCOMPARE(readFile(path), "{\n    \"format\": \"tarnwell-profile-1\",\n    \"game\": \""
                 + QJsonValueText(nativePath(game)) + "\",\n    \"name\": \"As first found\",\n    \"settings\": {\n"
                 "        \"Brightness\": \"120\",\n        \"MusicVolume\": \"50\"\n    }\n}\n");
        QVERIFY(firstFoundPath(dir.path(), dir.filePath("Other/")) != path);
    }

    void pending()
    {
        QTemporaryDir dir;
        const QString settings = dir.filePath("Binaries/SETTINGS/");
        QVERIFY(writeFile(settings + "TKGRAPHICSSETTINGS.MXML", "<D>\n\t<Property name=\"Brightness\" value=\"120\" />\n"
                          "\t<Property name=\"UseHDR\" value=\"false\" />\n\t<Property name=\"ResolutionWidth\" "
                          "value=\"1920\" />\n\t<Property name=\"ResolutionHeight\" value=\"1080\" />\n</D>\n"));
        HeldControls controls;
        SettingsSession session(controls);
        QCOMPARE(session.read(dir.path() + "/"), QString());
        putValues({{"Brightness", "90"}, {"UseHDR", "true"}, {"ResolutionHeight", "800"}, {"MusicVolume", "7"}},
                  controls);
        const PendingChanges pending = pendingChanges(session, controls);
        QCOMPARE(pending.refusal, QString());
        QCOMPARE(pending.files.size(), 1); // the user file was not read
        QStringList changes;
        for (const PendingChange &change : pending.files[0].changes)
            changes << change.property + ": " + change.before + " -> " + change.after;
        QCOMPARE(changes, QStringList({"ResolutionHeight: 1080 -> 800", "Brightness: 120 -> 90", "UseHDR: false -> true"}));
        controls.setText(QLatin1String("Text3"), "abc");
        QVERIFY(pendingChanges(session, controls).refusal.contains("Brightness \"abc\": it takes a number from 0 to 300."));
    }

    void power_data()
    {
        QTest::addColumn<QStringList>("supplies"); // "name:attribute=value,attribute=value"
        QTest::addColumn<PowerSource>("source");
        QTest::newRow("none: a desktop") << QStringList() << PowerSource::Unknown;
        QTest::newRow("handheld") << QStringList{"ACAD:type=Mains,online=0", "BAT1:type=Battery,status=Discharging"}
                                  << PowerSource::Battery;
        QTest::newRow("docked") << QStringList{"ACAD:type=Mains,online=1", "BAT1:type=Battery,status=Full"}
                                << PowerSource::Mains;
        QTest::newRow("charging over USB-C") << QStringList{"ucsi:type=USB,online=0", "BAT0:type=Battery,status=Charging"}
                                             << PowerSource::Mains;
        QTest::newRow("a gamepad's battery only") << QStringList{"pad:type=Battery,scope=Device,status=Discharging"}
                                                  << PowerSource::Unknown;
        QTest::newRow("an empty battery slot") << QStringList{"BAT1:type=Battery,present=0"} << PowerSource::Unknown;
    }

    void power()
    {
        QFETCH(QStringList, supplies);
        QFETCH(PowerSource, source);
        QTemporaryDir dir;
        for (const QString &row : supplies)
            supply(dir.path(), row.section(':', 0, 0), row.section(':', 1).split(','));
        QCOMPARE(powerSourceIn(dir.path()), source);
    }

    void autoRules_data()
    {
        QTest::addColumn<QByteArray>("rules"); // null: no file
        QTest::addColumn<PowerSource>("source");
        QTest::addColumn<QString>("chosen"); // the profile, or the problem
        const QByteArray both = R"({"battery": "Handheld", "mains": "Docked", "default": "Desk"})";
        QTest::newRow("on battery") << both << PowerSource::Battery << "Handheld";
        QTest::newRow("on mains") << both << PowerSource::Mains << "Docked";
        QTest::newRow("unknown: the default") << both << PowerSource::Unknown << "Desk";
        QTest::newRow("no rule of its own") << QByteArray(R"({"battery": "Handheld", "default": "Desk"})")
                                            << PowerSource::Mains << "Desk";
        QTest::newRow("no rule at all") << QByteArray(R"({"battery": "Handheld"})") << PowerSource::Mains
                                        << "<rules> names no profile for a machine on mains power, and no \"default\".";
        QTest::newRow("no rules") << QByteArray() << PowerSource::Mains
            << "--profile auto has no rules: write them into <rules>, such as {\"battery\": \"Handheld\", \"mains\": "
               "\"Docked\", \"default\": \"Docked\"}.";
        QTest::newRow("broken rules") << QByteArray("{\"battery\" \"Handheld\"}") << PowerSource::Battery
                                      << "<rules> cannot be read as rules: missing name separator at line 1, column 12.";
    }

    void autoRules()
    {
        QFETCH(QByteArray, rules);
        QFETCH(PowerSource, source);
        QFETCH(QString, chosen);
        QTemporaryDir dir;
        const QString path = nativePath(dir.filePath("auto-profile.json"));
        QVERIFY(rules.isNull() || writeFile(path, rules));
        const AutoChoice choice = autoProfile(dir.path(), source);
        QCOMPARE(choice.problem.isEmpty() ? choice.name : choice.problem, chosen.replace("<rules>", path));
    }

private:
    static QByteArray QJsonValueText(const QString &text) // as JSON writes a text: backslashes doubled
    {
        return text.toUtf8().replace("\\", "\\\\");
    }
};

QTEST_GUILESS_MAIN(TestProfiles)
#include "tst_profiles.moc"
