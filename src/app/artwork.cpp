// SPDX-License-Identifier: MIT
#include "artwork.h"

#include <QPainter>
#include <QSvgRenderer>

#include <map>
#include <memory>

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
    // Parsed once: the background is drawn at every paint of the window.
    static std::map<QString, std::unique_ptr<QSvgRenderer>> renderers;
    std::unique_ptr<QSvgRenderer> &renderer = renderers[resource];
    if (!renderer)
        renderer = std::make_unique<QSvgRenderer>(resource);
    renderer->render(&painter, QRectF(QPointF(0, 0), QSizeF(logicalSize)));
}

QIcon windowIcon()
{
    QIcon icon;
    for (const qreal ratio : {1.0, 1.5, 2.0})
        icon.addPixmap(pixmap(QStringLiteral(":/resources/icon.svg"), QSize(32, 32), ratio));
    return icon;
}

} // namespace artwork
