// SPDX-License-Identifier: MIT
#include "common/fakeplatform.h"

#include "maintenance/commandrunner.h"

#include <QWidget>

Platform::Answer FakePlatform::messageBox(const QString &prompt, MessageOptions options, const QString &title)
{
    messages.append({prompt, options, title});
    if (whileOpen)
        whileOpen(messages.last());
    if (!options.testFlag(YesNo))
        return Ok;
    return answers.isEmpty() ? No : answers.dequeue();
}

int FakePlatform::question(const QString &prompt, const QStringList &buttons, const QString &title)
{
    messages.append({prompt, Question, title, buttons});
    if (whileOpen)
        whileOpen(messages.last());
    return pressed.isEmpty() ? int(buttons.size()) - 1 : pressed.dequeue();
}

void FakePlatform::closeWindow(QWidget *window)
{
    ++closes;
    window->close();
}

QStringList FakePlatform::prompts() const
{
    QStringList result;
    for (const Message &message : messages)
        result << message.prompt;
    return result;
}

void FakePlatform::runCommand(const tarnwell::Command &command, const tarnwell::CommandDone &done)
{
    commands << command;
    if (runForReal)
        tarnwell::runDetached(command, done);
}

int FakePlatform::choose(const QString &, const QString &, const QStringList &items, int selected)
{
    offered << items;
    preselected << selected;
    const int choice = choices.isEmpty() ? -1 : choices.dequeue();
    return choice == kEnter ? selected : choice;
}
