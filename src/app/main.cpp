// SPDX-License-Identifier: MIT
#include "commandline.h"
#include "form1.h"
#include "platform/desktopplatform.h"

#include "files/background.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (const std::optional<int> exitCode = tarnwell::app::answerCommandLine(argc, argv))
        return *exitCode;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    // Ties the window to its menu entry, whose icon the desktop then shows for it.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.example.tarnwell"));
    DesktopPlatform platform;
    Form1 form(platform);
    QApplication::setWindowIcon(form.windowIcon()); // dialogs of the program show it too
    platform.setWindow(&form);
    form.Form_Load();
    if (form.isClosed()) // a fatal error during start-up
        return 0;
    form.show();
    const int exitCode = app.exec();
    // Work still running beside the window (a disk that does not answer) is given up, not waited for.
    tarnwell::endBackgroundWork(200);
    return exitCode;
}
