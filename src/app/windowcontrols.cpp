// SPDX-License-Identifier: MIT
#include "windowcontrols.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

bool WindowControls::isChecked(QLatin1String control) const
{
    const auto *box = find<QCheckBox>(control);
    return box && box->isChecked();
}

void WindowControls::setChecked(QLatin1String control, bool checked)
{
    // setChecked() does not emit `clicked`, so the FullScreen/Borderless rule stays out of it.
    if (auto *box = find<QCheckBox>(control))
        box->setChecked(checked);
}

QString WindowControls::text(QLatin1String control) const
{
    if (const auto *edit = find<QLineEdit>(control))
        return edit->text();
    if (const auto *list = find<QComboBox>(control))
        return list->currentText();
    return {};
}

void WindowControls::setText(QLatin1String control, const QString &text)
{
    if (auto *edit = find<QLineEdit>(control)) {
        edit->setText(text);
    } else if (auto *list = find<QComboBox>(control)) {
        const int entry = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (entry >= 0)
            list->setCurrentIndex(entry);
        list->setEditText(text);
    }
}

QString WindowControls::settingName(QLatin1String control) const
{
    const auto *widget = find<QWidget>(control);
    return widget && !widget->accessibleName().isEmpty() ? widget->accessibleName() : QString(control);
}
