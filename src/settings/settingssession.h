// SPDX-License-Identifier: MIT
// The game's two settings files as the window edits them: where they are, what was read from them,
// what the controls showed then, and writing the controls' values back.
#pragma once

#include "settings/catalogue.h"
#include "settings/linelist.h"
#include "settings/settingscontrols.h"
#include "settings/settingsmerge.h"
#include "settings/settingsreader.h"
#include "settings/settingswriter.h"
#include "settings/valuetext.h"

#include <array>

namespace tarnwell {

// One settings file of the game and what the session knows of it.
struct SessionFile {
    SettingsFile file;
    QLatin1String name; // below the game folder's Binaries/SETTINGS
    QString path = {};  // empty without a game folder
    LineList lines = {}; // as last read; the writer edits them in place
    FileState read = {};
    ShownValues shown = {}; // what its controls showed when it was last read or written
    bool everRead = false; // read from the current game folder: now missing, it was deleted
};

class SettingsSession
{
public:
    explicit SettingsSession(SettingsControls &controls);

    // Graphics first, then user: the order in which they are read and written.
    std::array<SessionFile, 2> &files() { return m_files; }
    const std::array<SessionFile, 2> &files() const { return m_files; }
    SessionFile &file(SettingsFile file) { return m_files[index(file)]; }
    const SessionFile &file(SettingsFile file) const { return m_files[index(file)]; }
    const ReadValues &readValues() const { return m_readValues; }

    // The two halves of the resolution, as read or as last cut from its drop-down list.
    QString resWidth;
    QString resHeight;

    // What every control shows before any file is read; another game's read falls back to it.
    void keepStartupValues();
    // Every control back to what the last read or write showed.
    void showLastRead();
    // Reads both files of `gameFolder` (empty: none) into the controls; a message about the files that
    // could not be read, empty when there is none.
    QString read(const QString &gameFolder);
    // Cuts the resolution list's text into its halves, as every "Apply" does before anything else.
    void takeResolution();
    // True when the last read had a game folder to read from.
    bool hasGameFolder() const { return m_files[0].read.state != ReadState::NoGameFolder; }
    // The file is gone (deleted by the tool): its controls show no value of it any more, as after a
    // read that found it missing, and nothing is written into it until it is read again.
    void forget(SettingsFile file);
    // Writes the files that were read, asking `ask` where the user must decide.
    ApplyReport write(WriteQuestions &ask);
    // Asks `ask` what write() would ask about each file it would change, and writes nothing: a
    // caller that answers without a user can then refuse before any file is written.
    void rehearseWrite(WriteQuestions &ask) const;
    // True while some control of a file that was read differs from what was last read or written.
    bool hasUnsavedEdits() const;
    // Why the controls of `file` show no value of it, for their tooltips; empty when it was read.
    QString unreadReason(SettingsFile file) const;

private:
    static int index(SettingsFile file) { return file == SettingsFile::Graphics ? 0 : 1; }
    void startRead(const QString &gameFolder);
    CollectedValues collected() const; // the controls' values, or the refusal of some
    QSet<QString> userChanged() const; // the controls changed since their file was read or written

    SettingsControls &m_controls;
    std::array<SessionFile, 2> m_files;
    ReadValues m_readValues;
    ShownValues m_startup;
    QString m_readFolder; // the game folder of the last read: another one's values are not carried over
};

} // namespace tarnwell
