// SPDX-License-Identifier: MIT
#include "artwork.h"

#include <QPainter>
#include <QSvgRenderer>

namespace artwork {

QPixmap pixmap(const QString &resource, QSize logicalSize, qreal devicePixelRatio)
{
    QPixmap result(logicalSize * devicePixelRatio);
    result.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(result.size())));
    painter.end();
    result.setDevicePixelRatio(devicePixelRatio);
    return result;
}

void draw(QPainter &painter, const QString &resource, QSize logicalSize)
{
    QSvgRenderer renderer(resource);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(logicalSize)));
}

QIcon windowIcon()
{
    QIcon icon;
    for (const qreal ratio : {1.0, 1.5, 2.0})
        icon.addPixmap(pixmap(QStringLiteral(":/resources/icon.svg"), QSize(32, 32), ratio));
    return icon;
}

} // namespace artwork
