// SPDX-License-Identifier: MIT
#include "highcontrast.h"

#include <windows.h>

bool highContrastRequested()
{
    HIGHCONTRASTW setting = {};
    setting.cbSize = sizeof(setting);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, setting.cbSize, &setting, 0)
        && (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}
