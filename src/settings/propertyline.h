// SPDX-License-Identifier: MIT
// One property line of a settings file: recognising it, cutting out its value, building a new one.
#pragma once

#include "settings/catalogue.h"

#include <QByteArray>

namespace tarnwell {

// A property line is one indentation character, `<Property name="`, the name, `" value="`, the
// value and `" />`. Everything is found by position; only the name and the value are looked at.
inline constexpr qsizetype kNameIndex = 17;

// The value begins with `flag`.
bool flagPasses(QByteArrayView line, QByteArrayView name, QByteArrayView flag);

// The characters between the value's place and the last four of the line; empty for a line too
// short to hold any.
QByteArrayView propertyValue(QByteArrayView line, QByteArrayView name);

// The line the writer puts in place of a matched one.
QByteArray propertyLine(QByteArrayView name, QByteArrayView value);
void appendPropertyLine(QByteArray &line, QByteArrayView name, QByteArrayView value);

// The first row of the file's rows whose tests pass on the line (reading), or -1.
RowIndex rowReadFrom(QByteArrayView line, SettingsFile file);

// The row of the file's rows whose property the line carries (writing), or -1.
RowIndex rowWrittenTo(QByteArrayView line, SettingsFile file);

} // namespace tarnwell
