// SPDX-License-Identifier: MIT
// Whether the machine runs on its battery or on mains power, for --profile auto.
#pragma once

#include <QString>

namespace tarnwell {

enum class PowerSource { Unknown, Battery, Mains };

// From a folder laid out as Linux's /sys/class/power_supply: mains when an outside supply is online
// or a battery charges, battery when the machine has a battery of its own and neither holds,
// unknown without any (a desktop).
[[nodiscard]] PowerSource powerSourceIn(const QString &folder);

// The system's own answer: /sys/class/power_supply on Linux, the system power status on Windows.
[[nodiscard]] PowerSource systemPowerSource();

} // namespace tarnwell
