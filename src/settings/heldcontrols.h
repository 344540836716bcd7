// SPDX-License-Identifier: MIT
// Settings controls without a window, for the command line: each value held as text, from what
// the window shows before any file is read.
#pragma once

#include "settings/settingscontrols.h"

#include <QHash>

namespace tarnwell {

// What the window's control shows before any file is read: a text box's text, a list's first
// entry; empty for a check box (cleared) and for a control that is no setting's.
QString startupText(QLatin1String control);

class HeldControls final : public SettingsControls
{
public:
    HeldControls();

    bool isChecked(QLatin1String control) const override;
    void setChecked(QLatin1String control, bool checked) override;
    QString text(QLatin1String control) const override;
    void setText(QLatin1String control, const QString &text) override;
    // The command line names a setting by its property, as the game's files do.
    QString settingName(QLatin1String control) const override;

private:
    QHash<QString, QString> m_texts;
    QHash<QString, bool> m_checked;
};

} // namespace tarnwell
