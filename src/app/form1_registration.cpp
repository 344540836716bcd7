// SPDX-License-Identifier: MIT
// Registering the game's executable: configuration file, version check and picker.
#include "form1.h"

void Form1::connectPicker()
{
}

void Form1::LoadSettings()
{
}

void Form1::SaveSettings()
{
}

void Form1::Validate_QVXEXE()
{
}

QString Form1::ShortPath(const QString &strFilename) const
{
    return strFilename;
}

QString Form1::CalcMD5(const QString &) const
{
    return QString();
}

void Form1::Drive1_Change()
{
}

void Form1::Dir1_Change()
{
}

void Form1::File1_Click()
{
}
