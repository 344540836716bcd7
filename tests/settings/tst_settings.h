// SPDX-License-Identifier: MIT
// Tests of the settings files through the window: real files in a temporary game folder.
#pragma once

#include "common/testsupport.h"

using namespace testsupport;
// "Check1=1", "Text3= 90 ", "Combo1=x1080": a control (clicked as the user does) and its value.
void setControl(Form1 *form, const QString &setting);
QString controlValue(Form1 *form, const QString &control);

// A property line as the game writes it (with the indentation given) and as the tool writes it.
inline QByteArray prop(const char *indent, const QByteArray &name, const QByteArray &value)
{
    return QByteArray(indent) + "<Property name=\"" + name + "\" value=\"" + value + "\" />";
}
inline QByteArray written(const QByteArray &name, const QByteArray &value) { return prop(" ", name, value); }
// The same as whole lines.
inline QByteArray in(const QByteArray &name, const QByteArray &value) { return prop("\t", name, value) + "\n"; }
inline QByteArray out(const QByteArray &name, const QByteArray &value) { return written(name, value) + "\n"; }
using L = QStringList;

extern const QByteArray kGraphics, kUser; // small settings files as the game writes them

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void fileLines_data();
    void fileLines();
    void refusedShown();
    void faults_data();
    void faults();
    void merge_data();
    void merge();
    void unsavedEdits_data();
    void unsavedEdits();
    void keptAside_data();
    void keptAside();

private:
    QString gameFolder() const { return m_w->dir.path() + "/Game/"; }
    QString settingsFolder() const { return gameFolder() + "Binaries/SETTINGS"; }
    QString graphicsPath() const { return settingsFolder() + "/TKGRAPHICSSETTINGS.MXML"; }
    QString userPath() const { return settingsFolder() + "/GCUSERSETTINGSDATA.MXML"; }
    QStringList prompts() const { return m_w->platform.prompts(); }
    void writeGame(const QByteArray &graphics, const QByteArray &user); // null: no file
    void startForm();
    void loadGame(); // the window started, the game in gameFolder() read
    // Apply asks beside the window whether the game runs, then writes.
    void apply()
    {
        QTest::mouseClick(m_w->form->command(1), Qt::LeftButton);
        QTRY_VERIFY(!m_w->form->isBusy());
    }

    std::unique_ptr<testsupport::TestWindow> m_w;
    QString m_unmount;       // a file system mounted by a test
    QStringList m_immutable; // paths given attributes by a test
};
