// SPDX-License-Identifier: MIT
#pragma once

#include "platform/platform.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QInputDialog;
class QMessageBox;

class DesktopPlatform : public Platform
{
public:
    // The window that message boxes belong to: they show centred over it, with its icon.
    void setWindow(QWidget *window) { m_window = window; }
    // The box that messageBox() shows, built but not shown: plain text, owned by the window.
    std::unique_ptr<QMessageBox> makeMessageBox(const QString &prompt, MessageOptions options,
                                                const QString &title) const;
    // The same for question().
    std::unique_ptr<QMessageBox> makeQuestionBox(const QString &prompt, const QStringList &buttons,
                                                 const QString &title) const;
    // The dialog that choose() shows, built but not shown.
    std::unique_ptr<QInputDialog> makeChoiceDialog(const QString &title, const QString &prompt,
                                                   const QStringList &items, int selected) const;

    QString programFolder() const override;
    QString homeFolder() const override;
    bool fileExists(const QString &path) const override;
    Answer messageBox(const QString &prompt, MessageOptions options, const QString &title) override;
    int question(const QString &prompt, const QStringList &buttons, const QString &title) override;
    void runCommand(const tarnwell::Command &command, const tarnwell::CommandDone &done = {}) override;
    void setClipboardText(const QString &text) override;
    void closeWindow(QWidget *window) override;
    int choose(const QString &title, const QString &prompt, const QStringList &items, int selected) override;
    bool askText(const QString &title, const QString &prompt, QString &text) override;
    QString backupFolder() const override;
    QString toolFolder() const override;
    QList<int> chooseSeveral(const QString &title, const QString &prompt, const QStringList &items) override;
    QString chooseFile(const QString &title, FileUse use, const QString &suggested, const QString &filter) override;

private:
    QPointer<QWidget> m_window;
};
