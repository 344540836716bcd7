// SPDX-License-Identifier: MIT
// What the window tests share: the sample game and program folder, a started window, clicks on lists.
#pragma once

#include "common/fakeplatform.h"
#include "common/testfiles.h"
#include "form1.h"

// The window's controls and Qt Test, as every window test uses them.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace testsupport {

[[nodiscard]] bool copySampleGame(const QString &game); // examples/Quillvane, hidden files too
// The shipped known-versions list in dat/, and a Tarnwell.dat that names `exe` when one is given.
[[nodiscard]] bool makeProgramFolder(const QString &program, const QString &exe = {});

// Loads and shows the window (unless start-up closed it), then waits for the executable's check.
[[nodiscard]] bool start(Form1 &form, bool waitForCheck = true);
// A click on the middle of an item, as the user makes it; false when no item has exactly that text.
[[nodiscard]] bool clickItem(QListWidget *list, const QString &text);
// Opens the folder in Dir1 as a user does: the root first, then a click and a double-click per level.
[[nodiscard]] bool openFolder(Form1 &form, const QString &path);
QString dir1Path(const Form1 &form); // the folder Dir1 has open

// A window on a FakePlatform whose program folder is a fresh temporary folder.
struct TestWindow
{
    [[nodiscard]] bool start(bool waitForCheck = true)
    {
        form = std::make_unique<Form1>(platform);
        return testsupport::start(*form, waitForCheck);
    }
    // As after a game at `folder` (with its trailing separator) was registered: its settings read.
    void loadGame(const QString &folder);

    QTemporaryDir dir;
    FakePlatform platform{dir.path()};
    std::unique_ptr<Form1> form;
};

} // namespace testsupport
