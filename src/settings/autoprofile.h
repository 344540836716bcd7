// SPDX-License-Identifier: MIT
// --profile auto: the profile that the user's rules name for the power the machine runs on.
#pragma once

#include "maintenance/powersource.h"

#include <QString>

namespace tarnwell {

// The rules: auto-profile.json in the tool's per-user folder, such as
// {"battery": "Handheld", "mains": "Docked", "default": "Docked"}; "default" serves when the
// power source is unknown or has no rule of its own.
[[nodiscard]] QString autoRulesPath(const QString &toolFolder);

struct AutoChoice {
    QString name;    // the profile to apply
    QString problem; // why none can be chosen, naming the rules file
    bool broken = false; // the file is there but cannot be read as rules
};

[[nodiscard]] AutoChoice autoProfile(const QString &toolFolder, PowerSource source);

} // namespace tarnwell
