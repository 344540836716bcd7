// SPDX-License-Identifier: MIT
#include "maintenance/powersource.h"

#include <windows.h>

namespace tarnwell {

PowerSource systemPowerSource()
{
    SYSTEM_POWER_STATUS status = {};
    if (!GetSystemPowerStatus(&status))
        return PowerSource::Unknown;
    switch (status.ACLineStatus) {
    case 0:
        return PowerSource::Battery;
    case 1:
        return PowerSource::Mains;
    default:
        return PowerSource::Unknown;
    }
}

} // namespace tarnwell
