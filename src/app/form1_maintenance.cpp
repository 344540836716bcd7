// SPDX-License-Identifier: MIT
// Launch and clean-up commands, the author's links and the banner.
#include "form1.h"

void Form1::Command2_Click()
{
}

void Form1::Command5_Click()
{
}

void Form1::Command6_Click()
{
}

void Form1::Image_Click(int)
{
}

void Form1::Label20_Click()
{
}

void Form1::startBanner()
{
}
