// SPDX-License-Identifier: MIT
#include "maintenance/commandrunner.h"

#include "maintenance/command.h"
#include "maintenance/filedeletion.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QThreadPool>
#include <QUrl>

namespace tarnwell {

void runDetached(const Command &command)
{
    switch (command.action) {
    case Command::Action::Start:
        if (command.webAddress) {
            QDesktopServices::openUrl(QUrl(command.operand, QUrl::StrictMode));
        } else if (!command.operand.isEmpty()) {
            const QFileInfo program(command.operand);
            QProcess::startDetached(program.absoluteFilePath(), {}, program.absolutePath());
        }
        return;
    case Command::Action::Delete: {
        // A shader cache may hold many thousands of files: the window must not wait for them.
        // The global pool finishes its work before the program ends, so no deletion is cut short.
        const QString operand = command.operand;
        const bool allFilesIn = command.allFilesIn;
        QThreadPool::globalInstance()->start([operand, allFilesIn] {
            const DeleteResult result = allFilesIn ? deleteAllFilesIn(operand) : deleteFile(operand);
            static_cast<void>(result); // failures go unreported, as with any started command
        });
        return;
    }
    }
}

} // namespace tarnwell
