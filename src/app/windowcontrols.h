// SPDX-License-Identifier: MIT
// The window's settings controls as the settings session sees them.
#pragma once

#include "settings/settingscontrols.h"

namespace tarnwell {
class SettingsSession;
struct RefusedValue;
} // namespace tarnwell

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

    // Greys the controls whose file was not read and says why first in their tooltips.
    void markUnread(const tarnwell::SettingsSession &settings);
    // A value too long to show is shown shortened, read-only.
    void markKeptValues(const tarnwell::SettingsSession &settings);
    // After Apply refused values: the first of their controls takes the focus, and each is framed
    // and says why in its accessible description, until its text changes.
    void markRefused(const QList<tarnwell::RefusedValue> &refused);

private:
    void markRefused(QWidget &field, const QString &problem);

    template <typename Control>
    Control *find(QLatin1String name) const
    {
        return m_window.findChild<Control *>(QString(name), Qt::FindDirectChildrenOnly);
    }

    const QWidget &m_window;
};
