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
        QStringList choices = {}; // the buttons of a question()
    };

    QString folder; // the program folder to report

    QString programFolder() const override { return folder; }
    bool fileExists(const QString &path) const override;
    int messageBox(const QString &prompt, int buttons, const QString &title) override;
    // Recorded as a message whose buttons are kQuestion; answered from `choices`, else with the last button.
    int question(const QString &prompt, const QStringList &buttons, const QString &title) override;
    static constexpr int kQuestion = -1;
    void runCommand(const tarnwell::Command &command) override { commands << command; }
    void setClipboardText(const QString &text) override { clipboard = text; }
    void closeWindow(QWidget *window) override;

    // Answers for the next Yes/No boxes, in order; an unscripted Yes/No box is answered No.
    QQueue<int> answers;
    QQueue<int> choices; // indices of the buttons to press in question() boxes, in order
    QList<Message> messages;
    QList<tarnwell::Command> commands;
    QString clipboard;
    int closes = 0;

    QStringList prompts() const;
};
