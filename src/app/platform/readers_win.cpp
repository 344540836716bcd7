// SPDX-License-Identifier: MIT
#include "readers.h"

bool readersHearLabelValues()
{
    return true;
}
