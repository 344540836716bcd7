// SPDX-License-Identifier: MIT
// Platform services for tests: message boxes and choices answered from a script, commands and
// clipboard recorded, backups kept in a temporary folder.
#pragma once

#include "files/pathcase.h"
#include "maintenance/command.h"
#include "platform/platform.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

class FakePlatform : public Platform
{
public:
    struct Message {
        QString prompt;
        MessageOptions options; // Question for a question()
        QString title;
        QStringList buttonTexts = {}; // the buttons of a question()
    };

    explicit FakePlatform(const QString &programFolder = {}) : folder(programFolder) {}
    QString folder; // the program folder to report

    QString programFolder() const override { return folder; }
    QString homeFolder() const override { return homePath.isEmpty() ? home.path() : homePath; }
    bool fileExists(const QString &path) const override { return tarnwell::fileExists(path); }
    Answer messageBox(const QString &prompt, MessageOptions options, const QString &title) override;
    // Recorded as a message with its buttons' texts; answered from `pressed`, else with the last button.
    int question(const QString &prompt, const QStringList &buttons, const QString &title) override;
    // Recorded; carried out by the real runner as well when `runForReal` is set.
    void runCommand(const tarnwell::Command &command, const tarnwell::CommandDone &done = {}) override;
    void setClipboardText(const QString &text) override { clipboard = text; }
    void closeWindow(QWidget *window) override;
    int choose(const QString &title, const QString &prompt, const QStringList &items, int selected) override;
    // Answered from `texts` (a null text: Enter, the text as offered); unscripted, cancelled.
    bool askText(const QString &, const QString &, QString &text) override
    {
        if (texts.isEmpty())
            return false;
        if (const QString answer = texts.dequeue(); !answer.isNull())
            text = answer;
        return true;
    }
    QQueue<QString> texts;
    QString backupFolder() const override { return dataHome.filePath(QStringLiteral("tarnwell/backups")); }
    QString toolFolder() const override { return dataHome.filePath(QStringLiteral("config/tarnwell")); }
    // Answered from `several` (recorded in `offered`), then from `files`; unscripted, nothing is chosen.
    QList<int> chooseSeveral(const QString &, const QString &, const QStringList &items) override
    {
        offered << items;
        return several.isEmpty() ? QList<int>() : several.dequeue();
    }
    QString chooseFile(const QString &, FileUse, const QString &suggested, const QString &) override
    {
        suggestedFiles << suggested;
        return files.isEmpty() ? QString() : files.dequeue();
    }
    QQueue<QList<int>> several;
    QQueue<QString> files;
    QStringList suggestedFiles;

    // Answers for the next Yes/No boxes, in order; an unscripted Yes/No box is answered No.
    QQueue<Answer> answers;
    QQueue<int> pressed; // indices of the buttons to press in question() boxes, in order
    QList<Message> messages;
    // Runs while each box is open, before it is answered: what happens meanwhile on the disk.
    std::function<void(const Message &)> whileOpen;
    QList<tarnwell::Command> commands;
    bool runForReal = false;
    // Answers for the next choices (an index, -1 for none, kEnter for the item offered first), in
    // order; unscripted, nothing is chosen.
    QQueue<int> choices;
    static constexpr int kEnter = -2;
    QList<QStringList> offered; // the items of each choice
    QList<int> preselected;     // the item each choice started at
    QTemporaryDir dataHome;     // never the user's own data folder
    QTemporaryDir home;         // never the user's own home, where installations are looked for
    QString homePath;           // another home instead, made by the test
    QString clipboard;
    int closes = 0;

    QStringList prompts() const;
};
