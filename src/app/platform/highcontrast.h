// SPDX-License-Identifier: MIT
#pragma once

// True when the desktop asks for high contrast: the system's setting on Windows; elsewhere a
// palette of black and white, which is what the desktops' high-contrast themes set.
bool highContrastRequested();
