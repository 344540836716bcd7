// SPDX-License-Identifier: MIT
// The tool's own pictures, drawn from vector sources so that they stay crisp at any screen scale.
#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>

class QPainter;

namespace artwork {

// Renders the picture at its logical size for a screen of the given pixel ratio.
QPixmap pixmap(const QString &resource, QSize logicalSize, qreal devicePixelRatio);
// Draws the picture unscaled at the painter's origin, at its logical size.
void draw(QPainter &painter, const QString &resource, QSize logicalSize);
QIcon windowIcon();

inline const QString background = QStringLiteral(":/resources/background.svg");
inline const QSize backgroundSize{759, 376};
inline QString link(int n) { return QStringLiteral(":/resources/link%1.svg").arg(n); }
inline const QSize linkSize{32, 32};
// Shown where the banner page goes, until it has loaded; drawn on the background's dark foot colour.
inline const QString banner = QStringLiteral(":/resources/banner.svg");
inline const QSize bannerSize{468, 60};
inline const QColor bannerSurround{0x0A, 0x1A, 0x28};

} // namespace artwork
