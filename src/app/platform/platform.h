// SPDX-License-Identifier: MIT
// The services of the operating system that the window leans on, behind one seam so that tests
// can answer message boxes and record commands without showing anything.
#pragma once

#include "maintenance/command.h"

#include <QFlags>
#include <QString>
#include <QStringList>

class QWidget;

class Platform
{
public:
    // A message box's buttons (OK, or Yes and No), at most one icon, and DefaultNo, which makes No the
    // answer of Enter for questions whose Yes writes or deletes what cannot be had back.
    enum MessageOption {
        OkOnly = 0x0,
        YesNo = 0x1,
        Critical = 0x10,
        Question = 0x20,
        Exclamation = 0x40,
        Information = 0x80,
        DefaultNo = 0x100,
    };
    Q_DECLARE_FLAGS(MessageOptions, MessageOption)
    enum Answer { Ok, Yes, No };

    virtual ~Platform() = default;

    // The folder of the running program, without a trailing separator.
    virtual QString programFolder() const = 0;
    // The user's home folder, below which the game's installations are looked for.
    virtual QString homeFolder() const = 0;
    // True when a file (not a folder) exists at the path; never fails.
    virtual bool fileExists(const QString &path) const = 0;
    // Modal; returns the answer. With no title the box shows "Tarnwell".
    virtual Answer messageBox(const QString &prompt, MessageOptions options, const QString &title = QString()) = 0;
    // A message the user must know about: OK, with the warning icon.
    void warn(const QString &message) { messageBox(message, Exclamation); }
    // Modal, with buttons of the caller's words; the last one, the way out that changes nothing, is
    // taken by Enter and by Escape. Returns the index of the button pressed.
    virtual int question(const QString &prompt, const QStringList &buttons, const QString &title = QString()) = 0;
    // Starts the command and returns at once; `done`, when given, hears later (on the window's
    // thread) what the command did.
    virtual void runCommand(const tarnwell::Command &command, const tarnwell::CommandDone &done = {}) = 0;
    virtual void setClipboardText(const QString &text) = 0;
    // Closes the window; with the only window closed the program ends.
    virtual void closeWindow(QWidget *window) = 0;
    // Modal: the user picks one of the items, starting at the item `selected`, which Enter takes;
    // returns its index, or -1 when nothing was chosen.
    virtual int choose(const QString &title, const QString &prompt, const QStringList &items, int selected) = 0;
    // Modal: one line of text, starting from `text`; false when the user cancelled.
    virtual bool askText(const QString &title, const QString &prompt, QString &text) = 0;
    // The per-user folder where copies of the settings files are kept.
    virtual QString backupFolder() const = 0;
    // The per-user folder of the tool's own files: the profiles, the values first found.
    virtual QString toolFolder() const = 0;
    // Modal: the user ticks any of the items; returns their indices, empty when nothing was chosen.
    virtual QList<int> chooseSeveral(const QString &title, const QString &prompt, const QStringList &items) = 0;
    // Modal: a file to read (Open) or to write (Save), starting at `suggested`; empty when cancelled.
    enum class FileUse { Open, Save };
    virtual QString chooseFile(const QString &title, FileUse use, const QString &suggested, const QString &filter) = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Platform::MessageOptions)
