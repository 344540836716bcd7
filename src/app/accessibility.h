// SPDX-License-Identifier: MIT
// What screen readers are told about the window's controls, and the keys that reach them.
#pragma once

#include <QString>

class QAbstractButton;
class QComboBox;
class QWidget;

namespace accessibility {

// Lets screen readers meet the lists by their names, the clickable labels in their roles and the
// window as a window; once per program, more calls do nothing.
void install();

// Names every control of `window` that the table lists (a link's address as its description)
// and lets each clickable label that the table gives a role take the focus.
void nameControls(QWidget *window);

// Names a list, its typing field and its pop-up alike.
void nameList(QComboBox *list, const QString &name);

// Enter and the keypad's Enter press the focused button, as Space does.
void pressOnEnter(QAbstractButton *button);

// Tells screen readers that the caption of `widget` is now `value`.
void announceValue(QWidget *widget, const QString &value);

// What a setting's control is said to be beside its help: refused by Apply, changed but not applied.
enum class Note { Refused, Changed };
// Sets or clears (empty text) one note of a setting's control; its accessible description holds all
// of them, on the control and on a list's typing field, where the focus goes.
void setNote(QWidget *control, Note note, const QString &text);

} // namespace accessibility
