// SPDX-License-Identifier: MIT
// Between a profile's values and the settings controls: which names are settings, whether each
// value is one its setting takes, putting values into the controls and taking them out.
#pragma once

#include "settings/catalogue.h"
#include "settings/settingscontrols.h"
#include "settings/valuetext.h"

#include <QMap>
#include <QStringList>

namespace tarnwell {

class SettingsSession;

using ProfileValues = QMap<QString, QString>;

// The catalogue's property names, each once, in the catalogue's order.
[[nodiscard]] QStringList settingNames();
// The properties kept in one of the two files, in the same order.
[[nodiscard]] QStringList settingNames(SettingsFile file);
// The first row that writes the property; -1 for a name that is no setting's.
[[nodiscard]] RowIndex rowOfSetting(const QString &property);

struct ValueCheck {
    QStringList refused; // `Brightness "500": it takes a number from 0 to 300.`, one per value
    QStringList unknown; // names that are no setting's, kept in the file and left out
};

// Checks every value against what its setting takes, as "Apply" does: a value the file held when it
// was read (`read`) goes back as it came, in range or not; a check box's value must be one of the two
// it writes. FullScreen and Borderless cannot both be on.
[[nodiscard]] ValueCheck checkValues(const ProfileValues &values, const ReadValues &read);

// Puts the values of known settings into the controls, as edits; the others stay as they are.
void putValues(const ProfileValues &values, SettingsControls &controls);

// The values the controls show for the properties named, as the writer would put them in the files.
// A value read too long to show (see ReadValues::keptAside()) is no setting's, and is left out.
[[nodiscard]] ProfileValues takeValues(const SettingsControls &controls, const QStringList &properties,
                                       const ReadValues &read);

// The values the files hold as last read (not as edited), of every file that was read.
[[nodiscard]] ProfileValues valuesInFiles(const SettingsSession &session);

} // namespace tarnwell
