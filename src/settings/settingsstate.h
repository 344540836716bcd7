// SPDX-License-Identifier: MIT
// What the window keeps of its settings files between a read and a write.
#pragma once

#include "settings/linelist.h"
#include "settings/settingsreader.h"
#include "settings/valuetext.h"
