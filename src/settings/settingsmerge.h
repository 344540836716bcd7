// SPDX-License-Identifier: MIT
// Keeping the game's own changes: when a settings file changed on disk since it was read or last
// written, only the settings the user changed in the window go in; every other setting keeps the
// value the file holds now.
#pragma once

#include "settings/catalogue.h"
#include "settings/linelist.h"
#include "settings/settingscontrols.h"
#include "settings/valuetext.h"

#include <QHash>
#include <QSet>
#include <QStringList>

namespace tarnwell {

// Each catalogue property of a file and the value its last line holds.
using PropertyValues = QHash<QByteArray, QByteArray>;

// The values the file's lines hold, or, given the values written into them, those.
PropertyValues propertyValues(const LineList &lines, SettingsFile file, const CatalogueValues *written = nullptr);
// Whether any line of `lines` holds a setting of `file`; stops at the first.
bool holdsAnySetting(const LineList &lines, SettingsFile file);

// The value each catalogue control shows ("1"/"0" for a check box, else its text), for the controls
// of one file: what the window showed when it last read or wrote that file.
using ShownValues = QHash<QString, QString>;
ShownValues shownValues(const SettingsControls &controls, SettingsFile file);
// Puts such values back into the controls.
void showHeldValues(const ShownValues &held, SettingsControls &controls);
// The controls whose value differs from what was shown then.
QSet<QString> changedControls(const SettingsControls &controls, const ShownValues &shown);

struct Merge {
    CatalogueValues values;  // what goes into the file's current lines
    QList<RowIndex> kept;    // rows whose value the game changed and the user did not: the window shows them
    QStringList yours;       // "Caption: value" of the user's changes that will be written
    QStringList theirs;      // the same for the game's changes that are kept
    QStringList both;        // changed by both: the user's value wins
};

// `base` is what the file held when it was last read or written, `now` what it holds now, `window` the
// window's values and `userChanged` the controls the user changed since then.
Merge mergeValues(SettingsFile file, const PropertyValues &base, const PropertyValues &now, const CatalogueValues &window,
                  const QSet<QString> &userChanged, const SettingsControls &controls);

// Shows the kept rows' values in the controls: texts as they are, a check box checked or cleared as
// its value says.
void showKeptValues(const Merge &merge, SettingsControls &controls, ReadValues &read, QString &resWidth,
                    QString &resHeight);

} // namespace tarnwell
