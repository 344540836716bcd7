// SPDX-License-Identifier: MIT
#include "artwork.h"
#include "form1.h"
#include "platform/desktopplatform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    QApplication::setWindowIcon(artwork::windowIcon());
    DesktopPlatform platform;
    Form1 form(platform);
    platform.setWindow(&form);
    form.Form_Load();
    if (form.isClosed()) // a fatal error during start-up
        return 0;
    form.show();
    return app.exec();
}
