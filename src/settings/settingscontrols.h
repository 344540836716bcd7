// SPDX-License-Identifier: MIT
// The window's settings controls as the reader and the writer see them: found by object name.
#pragma once

#include <QLatin1String>
#include <QString>

namespace tarnwell {

class SettingsControls
{
public:
    virtual ~SettingsControls() = default;
    virtual bool isChecked(QLatin1String control) const = 0;
    // Changes the box without running what a user's click on it runs.
    virtual void setChecked(QLatin1String control, bool checked) = 0;
    // A text box's text, or the text of a drop-down list's edit field.
    virtual QString text(QLatin1String control) const = 0;
    virtual void setText(QLatin1String control, const QString &text) = 0;
    // The setting's name as the user knows it, for messages.
    virtual QString settingName(QLatin1String control) const = 0;
};

} // namespace tarnwell
