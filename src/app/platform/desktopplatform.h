// SPDX-License-Identifier: MIT
#pragma once

#include "platform/platform.h"

class DesktopPlatform : public Platform
{
public:
    QString programFolder() const override;
    bool fileExists(const QString &path) const override;
    int messageBox(const QString &prompt, int buttons, const QString &title) override;
    void runCommand(const tarnwell::Command &command, const tarnwell::CommandDone &done = {}) override;
    void setClipboardText(const QString &text) override;
    void closeWindow(QWidget *window) override;
    int choose(const QString &title, const QString &prompt, const QStringList &items) override;
    QString backupFolder() const override;
};
