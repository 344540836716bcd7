// SPDX-License-Identifier: MIT
#include "maintenance/powersource.h"

namespace tarnwell {

PowerSource systemPowerSource()
{
    return powerSourceIn(QStringLiteral("/sys/class/power_supply"));
}

} // namespace tarnwell
