// SPDX-License-Identifier: MIT
// What screen readers are told about the window's controls, and the keys that reach them.
#pragma once

#include <QAccessible>
#include <QString>

class QAbstractButton;
class QComboBox;
class QWidget;

namespace accessibility {

// Makes the interfaces below the ones that screen readers meet; once per program, more calls do nothing.
void install();

// The role a control is announced in, by its object name; NoRole for a control the table leaves
// to the toolkit. A clickable label with a role takes the keyboard focus.
QAccessible::Role roleOf(const QString &objectName);

// Names every control of `window` that the table lists (a link's address as its description)
// and lets each clickable label with a role take the focus.
void nameControls(QWidget *window);

// Names a list, its typing field and its pop-up alike.
void nameList(QComboBox *list, const QString &name);

// Enter and the keypad's Enter press the focused button, as Space does.
void pressOnEnter(QAbstractButton *button);

// Tells screen readers that the caption of `widget` is now `value`.
void announceValue(QWidget *widget, const QString &value);

} // namespace accessibility
