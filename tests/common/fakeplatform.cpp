// SPDX-License-Identifier: MIT
#include "common/fakeplatform.h"

#include "files/pathcase.h"

#include <QWidget>

bool FakePlatform::fileExists(const QString &path) const
{
    return tarnwell::fileExists(path);
}

int FakePlatform::messageBox(const QString &prompt, int buttons, const QString &title)
{
    messages.append({prompt, buttons, title});
    if ((buttons & 0x7) != YesNo)
        return Ok;
    return answers.isEmpty() ? No : answers.dequeue();
}

int FakePlatform::question(const QString &prompt, const QStringList &buttons, const QString &title)
{
    messages.append({prompt, kQuestion, title, buttons});
    return choices.isEmpty() ? int(buttons.size()) - 1 : choices.dequeue();
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
