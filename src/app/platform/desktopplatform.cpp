// SPDX-License-Identifier: MIT
#include "platform/desktopplatform.h"

#include "maintenance/command.h"
#include "maintenance/commandrunner.h"
#include "files/pathcase.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

QString DesktopPlatform::programFolder() const
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

bool DesktopPlatform::fileExists(const QString &path) const
{
    return tarnwell::fileExists(path);
}

int DesktopPlatform::messageBox(const QString &prompt, int buttons, const QString &title)
{
    QMessageBox box;
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("Tarnwell") : title);
    box.setText(prompt);
    switch (buttons & 0x70) {
    case Critical: box.setIcon(QMessageBox::Critical); break;
    case Question: box.setIcon(QMessageBox::Question); break;
    case Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Information: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    if ((buttons & 0x7) == YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Yes : No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Ok;
}

int DesktopPlatform::question(const QString &prompt, const QStringList &buttons, const QString &title)
{
    QMessageBox box;
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("Tarnwell") : title);
    box.setText(prompt);
    box.setIcon(QMessageBox::Question);
    QList<QPushButton *> pushed;
    for (const QString &label : buttons)
        pushed << box.addButton(label, label == buttons.last() ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
    if (!pushed.isEmpty()) {
        box.setDefaultButton(pushed.first());
        box.setEscapeButton(pushed.last());
    }
    box.exec();
    const qsizetype index = pushed.indexOf(static_cast<QPushButton *>(box.clickedButton()));
    return index < 0 ? int(buttons.size()) - 1 : int(index);
}

void DesktopPlatform::runCommand(const tarnwell::Command &command)
{
    tarnwell::runDetached(command);
}

void DesktopPlatform::setClipboardText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

void DesktopPlatform::closeWindow(QWidget *window)
{
    window->close();
}
