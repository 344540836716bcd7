// SPDX-License-Identifier: MIT
// Build tool: renders the window's pictures ahead, as the window would draw them, for the program to
// copy at its first paint instead of drawing them then. Each output's name says which picture at
// which scale (see artwork::prerenderedName()).
// Usage: tarnwell_renderartwork RESOURCES_FOLDER OUT/NAME@RATIOx.argb...
#include "artwork.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

namespace {

bool write(const QString &resources, const QString &out)
{
    for (const artwork::Picture &picture : artwork::pictures()) {
        for (const qreal ratio : {1.0, 1.5, 2.0}) {
            if (artwork::prerenderedName(picture, ratio) != QFileInfo(out).fileName())
                continue;
            const QString svg = resources + QStringLiteral("/%1.svg").arg(picture.name);
            const QImage image = artwork::render(svg, picture, ratio);
            QFile file(out);
            return file.open(QIODevice::WriteOnly)
                && file.write(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes())
                       == image.sizeInBytes()
                && file.flush();
        }
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // The banner's text needs the fonts, which need an application; no screen is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    artwork::substituteFaces(); // as in the window
    if (argc < 3) {
        std::fputs("usage: tarnwell_renderartwork RESOURCES_FOLDER OUT/NAME@RATIOx.argb...\n", stderr);
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        if (!write(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[i]))) {
            std::fprintf(stderr, "tarnwell_renderartwork: cannot render %s\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
