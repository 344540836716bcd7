// SPDX-License-Identifier: MIT
// The tool's own pictures, drawn from vector sources so that they stay crisp at any screen scale.
// The build renders them ahead at the scales the window asks for most (1 and 2 pixels to the point;
// the icon at 1.5 too), so that the window's first paint only copies their pixels; at any other
// scale, and in a cross build, they are drawn from the vector source as the window paints.
#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <QString>

class QPainter;

namespace artwork {

struct Picture {
    QString name;    // its source is resources/<name>.svg
    QSize size;      // in logical pixels
    QColor backdrop; // what lies under it where it is shown; transparent: whatever lies there
};

// Drawn on the window's own colour, cut by the window's edges.
inline const Picture background{QStringLiteral("background"), {759, 376}, QColor(0, 192, 192)};
inline Picture link(int n) { return {QStringLiteral("link%1").arg(n), {32, 32}, Qt::transparent}; }
// Shown where the banner page goes, until it has loaded; drawn on the background's dark foot colour.
inline const QColor bannerSurround{0x0A, 0x1A, 0x28};
inline const Picture banner{QStringLiteral("banner"), {468, 60}, bannerSurround};
inline const Picture icon{QStringLiteral("icon"), {32, 32}, Qt::transparent};

// Every picture the window shows.
QList<Picture> pictures();
// The picture's vector source among the program's resources.
QString source(const Picture &picture);
// Where a picture rendered ahead for `ratio` pixels to the logical pixel is kept: "banner@1.5x.argb",
// its premultiplied 32-bit pixels row by row.
QString prerenderedName(const Picture &picture, qreal ratio);

// Renders the picture from `svgFile` over its backdrop, at `ratio` pixels to the logical pixel.
QImage render(const QString &svgFile, const Picture &picture, qreal ratio);
// The picture for a screen of the given pixel ratio: as rendered ahead where it was, else rendered now.
QPixmap pixmap(const Picture &picture, qreal ratio);
// A link picture for a screen of the given pixel ratio: as rendered ahead for it, drawn then without
// scaling; else rendered for twice the pixel density at least, so that it stays sharp when scaled.
QPixmap linkPixmap(int n, qreal ratio);
// Draws the picture unscaled at the painter's origin, at its logical size.
void draw(QPainter &painter, const Picture &picture);
QIcon windowIcon();

// Where Arial is missing, a metric-compatible face stands in: the captions keep the width they were
// laid out for, and the banner's text its place.
void substituteFaces();

} // namespace artwork
