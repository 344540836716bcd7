// SPDX-License-Identifier: MIT
// The settings changed in the window but not yet written: a small marker beside each control whose
// value differs from what its file held when last read or written (and a word in the control's
// accessible description), and "What will change...", every setting that Apply would change.
#pragma once

#include <QHash>
#include <QObject>

class Platform;
class QAction;
class QWidget;
namespace tarnwell {
class SettingsControls;
class SettingsSession;
} // namespace tarnwell

class ChangeMarkers : public QObject
{
    Q_OBJECT

public:
    ChangeMarkers(Platform &platform, const tarnwell::SettingsSession &settings,
                  const tarnwell::SettingsControls &controls, QWidget *window);

    QAction *whatWillChange() const { return m_action; }
    // After a read or a write, whose files now hold other values: the markers follow, as they follow
    // every edit by themselves.
    void refresh();
    void showPendingChanges();

private:
    void watch(QWidget *control);
    void update();

    Platform &m_platform;
    const tarnwell::SettingsSession &m_settings;
    const tarnwell::SettingsControls &m_controls;
    QWidget *m_window;
    QAction *m_action;
    QHash<QString, QWidget *> m_markers; // by the control's name
    bool m_queued = false;
};
