// SPDX-License-Identifier: MIT
// Profiles in the real window: its menus, a profile saved, exported, imported and applied giving the
// files that the same edits and Apply give, the values first found, and the markers of changed settings
// with "What will change...".
#include "cli.h"
#include "common/testsupport.h"
#include "settings/profilestore.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QMimeData>

using namespace testsupport;

namespace {

// "Check5=0", "Text3=90", "Combo1=1280x800": a control set as the user does it.
void setControl(Form1 &form, const QString &setting)
{
    QWidget *widget = form.findChild<QWidget *>(setting.section('=', 0, 0));
    const QString value = setting.section('=', 1);
    QVERIFY2(widget, qPrintable(setting));
    if (auto *box = qobject_cast<QCheckBox *>(widget)) {
        if (box->isChecked() != (value == "1"))
            QTest::mouseClick(box, Qt::LeftButton);
    } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        edit->setText(value);
    } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        combo->setEditText(value);
    }
}

// The settings controls whose marker shows.
QStringList marked(const Form1 &form)
{
    QStringList names;
    for (const QWidget *marker : form.findChildren<QWidget *>(QRegularExpression("Changed$"))) {
        if (marker->isVisible())
            names << marker->parentWidget()->objectName();
    }
    names.sort();
    return names;
}

QStringList menuTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << (action->isEnabled() ? "" : "-") + action->text();
    return texts;
}

enum class Step { Edit, Apply, DiscardAndRead, GameWrites, Profile };
struct Action {
    Step step;
    QString what; // control=value, or the game's property=value
};

} // namespace


class TestProfileWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_w = std::make_unique<TestWindow>();
        for (const char *game : {"A", "B", "C"})
            QVERIFY(copySampleGame(m_w->dir.filePath(game)));
        QVERIFY(m_w->start());
        m_w->loadGame(game("A"));
        m_w->platform.messages.clear(); // the first start's prompt
        // The values first found are kept beside the window: written, they make no folder any more
        // while a row makes its own.
        QTRY_VERIFY(QFile::exists(tarnwell::firstFoundPath(m_w->platform.toolFolder(), nativePath(game("A")))));
    }
    void cleanup() { m_w.reset(); }

    // On Apply (its own menu: right-click, Menu key, Shift+F10) and in the window's context menu; a
    // profile written by another program shows up.
    void menus()
    {
        Form1 &form = *m_w->form;
        QCOMPARE(form.command(1)->contextMenuPolicy(), Qt::CustomContextMenu);
        QMenu *menu = nullptr; // the window's menu leads to it
        for (QAction *action : form.actions())
            menu = action->text() == "Profiles" ? action->menu<QMenu *>() : menu;
        QVERIFY(menu);
        QVERIFY(form.actions().contains(form.findChild<QAction *>("WhatWillChangeAction")));
        const QStringList empty{"What will change...", "", "Save as profile...", "", "-No profiles yet",
                                "As first found", "", "Import profile...", "-Export profile...", "-Delete profile..."};
        QTRY_COMPARE(menuTexts(menu), empty);
        QVERIFY(writeFile(profiles() + "/Docked.json", R"({"settings": {}})"));
        QVERIFY(writeFile(profiles() + "/handheld.json", R"({"settings": {}})"));
        QTRY_COMPARE(menuTexts(menu), QStringList({"What will change...", "", "Save as profile...", "", "Docked",
                                                   "handheld", "As first found", "", "Import profile...",
                                                   "Export profile...", "Delete profile..."}));
    }

    void sameBytes_data()
    {
        QTest::addColumn<QStringList>("edits");
        QTest::newRow("boxes and texts") << QStringList{"Check5=0", "Text3=90", "Check3=0", "Text11=20"};
        QTest::newRow("resolution and lists") << QStringList{"Combo1=1280x800", "Combo5=FXAA", "Combo2=Epic"};
        QTest::newRow("Borderless clears FullScreen") << QStringList{"Check2=1", "Check9=0"};
    }

    // Edits and Apply; the same edits saved as a profile, exported, deleted, imported, then applied by
    // the command line to game B and chosen in the window for game C: the same bytes in all three.
    void sameBytes()
    {
        QFETCH(QStringList, edits);
        Form1 &form = *m_w->form;
        FakePlatform &platform = m_w->platform;
        for (const QString &edit : edits)
            setControl(form, edit);
        platform.texts << "Edited";
        platform.choices << 0; // all the settings
        trigger("SaveAsProfileAction");
        QTRY_VERIFY(QFile::exists(profiles() + "/Edited.json"));
        QTest::mouseClick(form.command(1), Qt::LeftButton);
        QTRY_VERIFY(!form.isBusy());
        QCOMPARE(platform.prompts().value(0), "Settings written to file!");
        QTRY_COMPARE(form.findChildren<QAction *>("ProfileAction").size(), 1);

        platform.choices << 0;
        platform.files << m_w->dir.filePath("export.json");
        trigger("ExportProfileAction");
        QTRY_VERIFY(QFile::exists(m_w->dir.filePath("export.json")));
        platform.choices << 0;
        platform.answers << Platform::Yes;
        trigger("DeleteProfileAction");
        QTRY_VERIFY(!QFile::exists(profiles() + "/Edited.json"));
        platform.files << m_w->dir.filePath("export.json");
        trigger("ImportProfileAction");
        QTRY_VERIFY(QFile::exists(profiles() + "/Edited.json"));

        QStringList errors;
        const tarnwell::cli::Environment environment{m_w->dir.path(), platform.toolFolder(), platform.backupFolder(),
            [] { return tarnwell::PowerSource::Unknown; }, [](const QString &) { return false; },
            [](QByteArrayView) {}, [&errors](const QString &error) { errors << error; }};
        const QStringList profile{"tarnwell", "--game", nativePath(game("B") + "Binaries/QVX.EXE"), "--profile", "Edited"};
        QCOMPARE(tarnwell::cli::run(profile, environment).exitCode, 0);
        QCOMPARE(errors, QStringList());
        m_w->loadGame(game("C"));
        QTRY_COMPARE(form.findChildren<QAction *>("ProfileAction").size(), 1);
        form.findChild<QAction *>("ProfileAction")->trigger();
        QTRY_VERIFY(!marked(form).isEmpty());
        QTest::mouseClick(form.command(1), Qt::LeftButton);
        QTRY_VERIFY(!form.isBusy());
        for (const char *file : {"TKGRAPHICSSETTINGS.MXML", "GCUSERSETTINGSDATA.MXML"}) {
            const QByteArray edited = readFile(game("A") + "Binaries/SETTINGS/" + file);
            QCOMPARE(readFile(game("B") + "Binaries/SETTINGS/" + file), edited);
            QCOMPARE(readFile(game("C") + "Binaries/SETTINGS/" + file), edited);
        }
    }

    void markers_data()
    {
        QTest::addColumn<QList<Action>>("actions");
        QTest::addColumn<QStringList>("marked");
        using enum Step;
        QTest::newRow("an edit") << QList<Action>{{Edit, "Text3=90"}} << QStringList{"Text3"};
        QTest::newRow("an edit undone") << QList<Action>{{Edit, "Text3=90"}, {Edit, "Text3=120"}} << QStringList();
        QTest::newRow("a box and a list") << QList<Action>{{Edit, "Check5=0"}, {Edit, "Combo2=Low"}}
                                          << QStringList{"Check5", "Combo2"};
        QTest::newRow("written") << QList<Action>{{Edit, "Text3=90"}, {Apply, ""}} << QStringList();
        QTest::newRow("discarded") << QList<Action>{{Edit, "Text3=90"}, {DiscardAndRead, ""}} << QStringList();
        QTest::newRow("merged with the game's change") << QList<Action>{{Edit, "Text3=90"}, {GameWrites, "MaxframeRate"},
                                                                        {Edit, "Text6=64"}, {Apply, ""}} << QStringList();
        QTest::newRow("a profile") << QList<Action>{{Profile, ""}} << QStringList{"Check5", "Combo1", "Text3"};
    }

    // A marker for each control whose value differs from its file's, following reads, edits, merges and
    // writes; in the control's description too; no control moves.
    void markers()
    {
        QFETCH(QList<Action>, actions);
        QFETCH(QStringList, marked);
        Form1 &form = *m_w->form;
        FakePlatform &platform = m_w->platform;
        QHash<QString, QRect> places;
        for (const QWidget *control : form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            places.insert(control->objectName(), control->geometry());
        QVERIFY(writeFile(profiles() + "/Low.json",
                          R"({"settings": {"Brightness": "90", "UseHDR": "false", "ResolutionWidth": "1280"}})"));
        for (const Action &action : actions) {
            switch (action.step) {
            case Step::Edit:
                setControl(form, action.what);
                break;
            case Step::Apply:
                platform.answers << Platform::Yes; // a merge
                QTest::mouseClick(form.command(1), Qt::LeftButton);
                QTRY_VERIFY(!form.isBusy());
                break;
            case Step::DiscardAndRead:
                platform.pressed << 1;
                QTest::mouseClick(form.command(3), Qt::LeftButton);
                break;
            case Step::GameWrites: {
                const QString path = game("A") + "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML";
                QVERIFY(writeFile(path, readFile(path).replace("\"" + action.what.toUtf8() + "\" value=\"144\"",
                                                               "\"" + action.what.toUtf8() + "\" value=\"60\"")));
                break;
            }
            case Step::Profile:
                QTRY_COMPARE(form.findChildren<QAction *>("ProfileAction").size(), 1);
                form.findChild<QAction *>("ProfileAction")->trigger();
                QTRY_COMPARE(form.text(3)->text(), "90");
                break;
            }
        }
        QTRY_COMPARE(::marked(form), marked);
        for (const QWidget *control : form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            QCOMPARE(control->geometry(), places.value(control->objectName(), control->geometry()));
        if (marked.contains("Text3"))
            QCOMPARE(form.text(3)->accessibleDescription(), "Changed, not yet applied: the file holds \"120\".");
        if (marked.contains("Check5"))
            QCOMPARE(form.check(5)->accessibleDescription(), "Changed, not yet applied: the file holds on.");
        if (marked.isEmpty())
            QCOMPARE(form.text(3)->accessibleDescription(), QString());
        if (actions.size() > 1 && actions[1].step == Step::GameWrites)
            QCOMPARE(form.text(4)->text(), "60"); // the game's change, kept and shown
    }

    void whatWillChange()
    {
        Form1 &form = *m_w->form;
        FakePlatform &platform = m_w->platform;
        for (const char *edit : {"Text3=90", "Check5=0", "Combo1=1280x800", "Text11=20", "Text1=8"})
            setControl(form, edit);
        trigger("WhatWillChangeAction");
        const QString settings = nativePath(game("A") + "Binaries/SETTINGS/");
        QCOMPARE(platform.prompts().value(0), "Apply would change:\n\n" + settings + "TKGRAPHICSSETTINGS.MXML\n"
                 "    ResolutionWidth: 1920 -> 1280\n    ResolutionHeight: 1080 -> 800\n    Brightness: 120 -> 90\n"
                 "    UseHDR: true -> false\n\n" + settings + "GCUSERSETTINGSDATA.MXML\n    MusicVolume: 65 -> 20");
        setControl(form, "Text3=bright");
        trigger("WhatWillChangeAction");
        QCOMPARE(platform.prompts().value(1), "These values cannot be written:\n\nBrightness \"bright\": it takes a "
                 "number from 0 to 300.\n\nNothing was written. Change them and press Apply again.");
    }

    // "Save as profile...": all the settings, one file's, or a chosen few; a name taken asks first,
    // and No keeps the profile there.
    void saveChoices_data()
    {
        QTest::addColumn<int>("choice");        // all, graphics, user, a chosen few
        QTest::addColumn<QList<int>>("several"); // the chosen few, as offered
        QTest::addColumn<QStringList>("kept");  // the saved profile's settings
        QTest::newRow("the user file's") << 2 << QList<int>() << QStringList{"HUDHidden", "MusicVolume", "SfxVolume",
                                                                              "Vibration"};
        QTest::newRow("a chosen few") << 3 << QList<int>{0, 2} << QStringList{"FullScreen", "ResolutionWidth"};
    }

    void saveChoices()
    {
        QFETCH(int, choice);
        QFETCH(QList<int>, several);
        QFETCH(QStringList, kept);
        FakePlatform &platform = m_w->platform;
        const QString file = profiles() + "/Docked.json";
        const auto saveAs = [&](int which) {
            platform.texts << "Docked";
            platform.choices << which;
            platform.several << several;
            trigger("SaveAsProfileAction");
        };
        saveAs(choice);
        QTRY_VERIFY(QFile::exists(file));
        QCOMPARE(QJsonDocument::fromJson(readFile(file)).object().value("settings").toObject().keys(), kept);
        if (choice == 3)
            QVERIFY(platform.offered.value(1).value(2).startsWith("ResolutionWidth ("));
        const QByteArray saved = readFile(file);
        platform.answers << Platform::No;
        saveAs(1); // the graphics file's, over it: asked, and refused
        QTRY_COMPARE(platform.prompts().value(0), "A profile named \"Docked\" already exists:\n" + nativePath(file)
                                                      + "\n\nReplace it?");
        QCOMPARE(platform.messages.value(0).options, Platform::YesNo | Platform::Question | Platform::DefaultNo);
        QCOMPARE(readFile(file), saved);
        platform.answers << Platform::Yes;
        saveAs(1);
        QTRY_VERIFY(readFile(file) != saved);
        const QStringList graphics = QJsonDocument::fromJson(readFile(file)).object().value("settings").toObject().keys();
        QVERIFY(graphics.contains("Brightness") && graphics.contains("UseHDR") && !graphics.contains("MusicVolume"));
    }

    // Kept at the first read of an installation; chosen, it puts those values back as edits.
    void firstFound()
    {
        Form1 &form = *m_w->form;
        setControl(form, "Text3=90");
        setControl(form, "Check5=0");
        QTest::mouseClick(form.command(1), Qt::LeftButton);
        QTRY_VERIFY(!form.isBusy());
        m_w->loadGame(game("A"));
        QCOMPARE(form.text(3)->text(), "90");
        trigger("AsFirstFoundAction");
        QTRY_COMPARE(form.text(3)->text(), "120");
        QCOMPARE(form.check(5)->isChecked(), true);
        QTRY_COMPARE(::marked(form), QStringList({"Check5", "Text3"})); // marked once the edits settle
        QTest::mouseClick(form.command(1), Qt::LeftButton);
        QTRY_VERIFY(!form.isBusy());
        m_w->loadGame(game("B")); // untouched: Apply writes it in the same form
        QTest::mouseClick(form.command(1), Qt::LeftButton);
        QTRY_VERIFY(!form.isBusy());
        const QString file = "Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML";
        QCOMPARE(readFile(game("A") + file), readFile(game("B") + file));
    }

    // A profile that cannot be used changes nothing and says why; unknown settings are named and kept.
    void refusedAndUnknown()
    {
        Form1 &form = *m_w->form;
        FakePlatform &platform = m_w->platform;
        QVERIFY(writeFile(m_w->dir.filePath("Wrong.json"), R"({"settings": {"Brightness": "999", "NewThing": "1"}})"));
        QVERIFY(writeFile(m_w->dir.filePath("Newer.json"), R"({"settings": {"Brightness": "99", "NewThing": "1"}})"));
        for (const char *file : {"Wrong.json", "Newer.json"}) {
            platform.answers << Platform::Yes;
            drop(m_w->dir.filePath(file));
        }
        QTRY_COMPARE(form.findChildren<QAction *>("ProfileAction").size(), 1); // Newer alone
        QCOMPARE(platform.prompts().value(2), nativePath(m_w->dir.filePath("Wrong.json")) + " holds values that cannot "
                 "be used:\n\nBrightness \"999\": it takes a number from 0 to 300.\n\nThe profile was not imported.");
        form.findChild<QAction *>("ProfileAction")->trigger();
        QTRY_COMPARE(form.text(3)->text(), "99");
        QTRY_COMPARE(platform.prompts().value(3), "The profile \"Newer\" holds settings that this Tarnwell does not "
                     "know: NewThing. They stay in its file and were left out.");
        QVERIFY(readFile(profiles() + "/Newer.json").contains("\"NewThing\": \"1\""));
        QVERIFY(writeFile(profiles() + "/Newer.json", R"({"settings": {"UseHDR": "maybe"}})"));
        form.findChild<QAction *>("ProfileAction")->trigger();
        QTRY_COMPARE(platform.prompts().value(4), "The profile \"Newer\" holds values that cannot be used:\n\nUseHDR "
                     "\"maybe\": it takes \"true\" or \"false\".\n\nNothing was changed.");
        QCOMPARE(form.check(5)->isChecked(), true);
    }

private:
    QString game(const char *name) const { return m_w->dir.filePath(name) + "/"; }
    QString profiles() const { return m_w->platform.toolFolder() + "/profiles"; }
    void trigger(const char *action) { m_w->form->findChild<QAction *>(action)->trigger(); }
    void drop(const QString &path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_w->form.get(), &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_w->form.get(), &event);
    }

    std::unique_ptr<TestWindow> m_w;
};

QTEST_MAIN(TestProfileWindow)
#include "tst_profilewindow.moc"
