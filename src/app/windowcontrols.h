// SPDX-License-Identifier: MIT
// The window's settings controls as the settings session sees them.
#pragma once

#include "settings/settingscontrols.h"

#include <QWidget>

// The window's controls, found by the object names that the catalogue gives.
class WindowControls final : public tarnwell::SettingsControls
{
public:
    explicit WindowControls(const QWidget &window) : m_window(window) {}

    bool isChecked(QLatin1String control) const override;
    void setChecked(QLatin1String control, bool checked) override;
    QString text(QLatin1String control) const override;
    void setText(QLatin1String control, const QString &text) override;
    QString settingName(QLatin1String control) const override;

private:
    template <typename Control>
    Control *find(QLatin1String name) const
    {
        return m_window.findChild<Control *>(QString(name), Qt::FindDirectChildrenOnly);
    }

    const QWidget &m_window;
};
