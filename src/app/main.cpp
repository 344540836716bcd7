// SPDX-License-Identifier: MIT
#include "artwork.h"
#include "commandline.h"
#include "form1.h"
#include "platform/desktopplatform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (const std::optional<int> exitCode = tarnwell::app::answerCommandLine(argc, argv))
        return *exitCode;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    QApplication::setWindowIcon(artwork::windowIcon());
    // Ties the window to its menu entry, whose icon the desktop then shows for it.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.example.tarnwell"));
    DesktopPlatform platform;
    Form1 form(platform);
    platform.setWindow(&form);
    form.Form_Load();
    if (form.isClosed()) // a fatal error during start-up
        return 0;
    form.show();
    return app.exec();
}
