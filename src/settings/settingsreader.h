// SPDX-License-Identifier: MIT
// Reading a settings file into a line list and its values into the window's controls.
#pragma once

#include "settings/catalogue.h"
#include "settings/linelist.h"
#include "settings/settingscontrols.h"
#include "settings/valuetext.h"

namespace tarnwell {

enum class ReadState { NoGameFolder, Missing, Unreadable, Read };

// How a settings file fared at the last read; the writer goes by it.
struct FileReadState {
    ReadState state = ReadState::NoGameFolder;
    QString error; // the system's reason, for Unreadable
};

// Replaces the lines by the file's; without a game folder nothing is read.
[[nodiscard]] FileReadState readSettingsFile(const QString &path, bool haveGameFolder, LineList &lines);

// Shows the values of the file's catalogue lines in the controls, line by line in file order, so
// that a later line of a property wins. Only a passing flag changes a check box; nothing is reset.
void showValues(const LineList &lines, SettingsFile file, SettingsControls &controls, ReadValues &read,
                QString &resWidth, QString &resHeight);

struct NamedRead {
    QString path;
    FileReadState read;
};

// A message about the files that could not be read; empty when there is none.
QString readProblems(std::initializer_list<NamedRead> files);

} // namespace tarnwell
