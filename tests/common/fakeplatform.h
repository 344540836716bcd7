// SPDX-License-Identifier: MIT
// Platform services for tests: message boxes answered from a script, commands and clipboard recorded.
#pragma once

#include "maintenance/command.h"
#include "platform/platform.h"

#include <QList>
#include <QQueue>
#include <QStringList>

class FakePlatform : public Platform
{
public:
    struct Message {
        QString prompt;
        int buttons;
        QString title;
    };

    QString folder; // the program folder to report

    QString programFolder() const override { return folder; }
    bool fileExists(const QString &path) const override;
    int messageBox(const QString &prompt, int buttons, const QString &title) override;
    void runCommand(const tarnwell::Command &command) override { commands << command; }
    void setClipboardText(const QString &text) override { clipboard = text; }
    void closeWindow(QWidget *window) override;

    // Answers for the next Yes/No boxes, in order; an unscripted Yes/No box is answered No.
    QQueue<int> answers;
    QList<Message> messages;
    QList<tarnwell::Command> commands;
    QString clipboard;
    int closes = 0;

    QStringList prompts() const;
};
