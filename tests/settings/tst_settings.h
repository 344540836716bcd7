// SPDX-License-Identifier: MIT
// Tests of the settings files: property lines, line lists, values, and the window's read and write.
#pragma once

#include "settings/settingscontrols.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

class FakePlatform;
class Form1;

// Controls held in a table, for the core tests.
class FakeControls : public tarnwell::SettingsControls
{
public:
    QHash<QString, bool> checks;
    QHash<QString, QString> texts;
    bool isChecked(QLatin1String control) const override { return checks.value(control); }
    void setChecked(QLatin1String control, bool on) override { checks[control] = on; }
    QString text(QLatin1String control) const override { return texts.value(control); }
    void setText(QLatin1String control, const QString &text) override { texts[control] = text; }
    QString settingName(QLatin1String control) const override { return "Name of " + QString(control); }
};

QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);

// A property line as the game writes it (with the indentation given) and as the tool writes it.
inline QByteArray prop(const char *indent, const QByteArray &name, const QByteArray &value)
{
    return QByteArray(indent) + "<Property name=\"" + name + "\" value=\"" + value + "\" />";
}

inline QByteArray written(const QByteArray &name, const QByteArray &value)
{
    return prop(" ", name, value);
}

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Property lines and line lists (tst_lines.cpp).
    void recognition_data();
    void recognition();
    void lineList_data();
    void lineList();
    void writtenFile_data();
    void writtenFile();
    void refusedValues_data();
    void refusedValues();

    // The window reading and writing real files (tst_window.cpp).
    void readIntoWindow_data();
    void readIntoWindow();
    void readerDoesNotRunExclusion();
    void hdrClickChangesOnlyItsLine();
    void stableRounds_data();
    void stableRounds();
    void untouchedValuesKeepTheirBytes();
    void roundTrip();

    // Mended faults on real files (tst_faults.cpp).
    void missingFiles_data();
    void missingFiles();
    void unreadableFileReported();
    void changedOnDisk_data();
    void changedOnDisk();
    void readOnlyFile_data();
    void readOnlyFile();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void refusedValueWritesNothing();
    void applyBeforeExecutable();

private:
    // A game folder in a temporary folder: <dir>/Game/ with Binaries/SETTINGS below.
    QString gameFolder() const { return m_dir->path() + "/Game/"; }
    QString settingsFolder() const { return gameFolder() + "Binaries/SETTINGS"; }
    QString graphicsPath() const { return settingsFolder() + "/TKGRAPHICSSETTINGS.MXML"; }
    QString userPath() const { return settingsFolder() + "/GCUSERSETTINGSDATA.MXML"; }
    void writeGame(const QByteArray &graphics, const QByteArray &user);
    void startForm();
    void loadGame(); // GameFolder set, ReadConfig called, start-up messages forgotten
    // Runs the current test function (and data row) again as an unprivileged user when running as
    // root; returns true when that has been done and the caller should return.
    bool rerunAsUser();
    QStringList prompts() const;

    QTemporaryDir *m_dir = nullptr;
    FakePlatform *m_platform = nullptr;
    Form1 *m_form = nullptr;
    QString m_unmount;           // a file system mounted by a test
    QStringList m_immutable;     // paths given attributes by a test
};
