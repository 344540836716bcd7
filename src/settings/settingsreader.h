// SPDX-License-Identifier: MIT
// Reading a settings file into a line list and its values into the window's controls.
#pragma once

#include "settings/catalogue.h"
#include "settings/linelist.h"
#include "settings/settingscontrols.h"
#include "settings/valuetext.h"

#include <QList>

#include <optional>

namespace tarnwell {

enum class ReadState { NoGameFolder, Missing, Unreadable, Read };

// How a settings file fared at the last read, and what the tool last wrote to it; the writer goes
// by it.
struct FileState {
    ReadState state = ReadState::NoGameFolder;
    QString error; // the system's reason, for Unreadable
    // Set once the file has been written: it then holds its lines as read with these values put in.
    std::optional<CatalogueValues> written;
};

// Replaces the lines by the file's; without a game folder nothing is read.
[[nodiscard]] FileState readSettingsFile(const QString &path, bool haveGameFolder, LineList &lines);

// Shows the values of the file's catalogue lines in the controls, line by line in file order, so
// that a later line of a property wins. A check box changes only by a passing flag or by a value that
// is exactly its cleared text; a control whose property has no line keeps its state.
void showValues(const LineList &lines, SettingsFile file, SettingsControls &controls, ReadValues &read,
                QString &resWidth, QString &resHeight);

struct NamedRead {
    QString path;
    FileState read;
};

// A message about the files that could not be read; empty when there is none.
QString readProblems(const QList<NamedRead> &files);

} // namespace tarnwell
