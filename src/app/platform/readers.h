// SPDX-License-Identifier: MIT
#pragma once

// True where screen readers hear the value of a label (UI Automation and MSAA on Windows); AT-SPI
// passes on numbers only, and there the caption of a label that has a name of its own must go elsewhere.
bool readersHearLabelValues();
