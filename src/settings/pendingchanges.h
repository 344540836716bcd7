// SPDX-License-Identifier: MIT
// What "Apply" would change in the files, setting by setting, before anything is written.
#pragma once

#include "settings/settingssession.h"

#include <QList>

namespace tarnwell {

struct PendingChange {
    QString property;
    QString before; // as the file holds it now (as last read or written)
    QString after;  // as Apply would write it
};

struct PendingFile {
    QString path;
    QList<PendingChange> changes;
};

struct PendingChanges {
    QList<PendingFile> files; // each file that was read, graphics first
    QString refusal;          // Apply would write nothing: the values it refuses
};

[[nodiscard]] PendingChanges pendingChanges(const SettingsSession &session, const SettingsControls &controls);

} // namespace tarnwell
