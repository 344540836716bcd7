// SPDX-License-Identifier: MIT
// What each setting does in the game, in the user's words: the one table behind the tooltips.
#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>

namespace tarnwell {

// One or two plain sentences on what the control's setting changes in the game; empty for a
// control that shows no setting.
QString settingHelp(QLatin1String control);

// What the control's value must be for the game to use it, such as "a whole number from 0 to 100"
// (for the resolution: each of its two parts); empty for a control whose value is not a number.
QString valueRange(QLatin1String control);
// True when the text is such a value, ASCII blanks around it allowed, or the control takes any text.
bool inRange(QLatin1String control, const QString &text);
// Why the text is no such value, as a phrase after "it" ("takes a number from 0 to 300", with a hint
// for a decimal comma); empty when inRange() holds.
QString rangeProblem(QLatin1String control, const QString &text);

// The control's tooltip as rich text: its help, the values the game takes (`values`, when they
// are known) and the properties it is kept in, with their files.
QString settingToolTip(QLatin1String control, const QStringList &values = {});

} // namespace tarnwell
