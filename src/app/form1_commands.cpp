// SPDX-License-Identifier: MIT
// Start-up and the window's own commands.
#include "form1.h"

#include "platform/platform.h"

#include <QCheckBox>
#include <QLabel>

void Form1::Form_Load()
{
    setWindowTitle(QStringLiteral("Tarnwell - Corvandel"));
    label(34)->setText(QStringLiteral("v" TARNWELL_VERSION_TEXT));
    label(34)->adjustSize();
    GameExePath.clear();
    GraphicsSettingsPath.clear();
    startBanner();
    fillLists();
    keepStartupValues();
    markUnreadControls(); // until a file is read, no control shows a value of the game's
    LoadSettings();
    if (isClosed())
        return;
    startDiscovery(GameExePath.isEmpty()); // the picker is to wait at what it finds
    if (GameExePath.isEmpty()) {
        m_platform.messageBox(QStringLiteral("Select your Quillvane QVX.EXE to get started!"), Platform::Information);
        setOuterWidthTwips(kPickerWidthTwips);
    }
}

void Form1::Command1_Click()
{
    if (applySettings())
        m_platform.messageBox(QStringLiteral("Settings written to file!"), Platform::OkOnly);
}

bool Form1::applySettings()
{
    return gameAllowsWrite(QStringLiteral("Nothing was written. Press Apply again once the game has exited."))
        && WriteConfig();
}

void Form1::Command3_Click()
{
    if (GameFolder.isEmpty()) {
        warn(noGameFolderReason() + QStringLiteral(", so no settings were read."));
        return;
    }
    if (hasUnsavedEdits()) {
        const int answer = m_platform.question(
            QStringLiteral("Some settings were changed in the window but not written to the game's files. Reading the "
                           "files again replaces them."),
            {QStringLiteral("Apply"), QStringLiteral("Discard and read"), QStringLiteral("Cancel")},
            QStringLiteral("Reload?"));
        if (answer == 2 || (answer == 0 && !applySettings()))
            return;
        // Discarded: every control goes back to what the files gave it, then the files say what they hold now.
        if (answer == 1)
            showLastRead();
    }
    ReadConfig();
}

void Form1::Command4_Click()
{
    m_platform.closeWindow(this);
}

void Form1::Check1_Click()
{
    check(2)->setChecked(false);
}

void Form1::Check2_Click()
{
    check(1)->setChecked(false);
}

void Form1::Label22_Click()
{
    m_platform.setClipboardText(label(22)->text());
}
