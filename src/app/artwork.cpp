// SPDX-License-Identifier: MIT
#include "artwork.h"

#include <QFont>
#include <QPainter>
#include <QResource>
#include <QSvgRenderer>

#include <map>
#include <memory>

namespace artwork {

namespace {

// The pixels the build rendered for `ratio`, or a null image where it rendered none.
QImage prerendered(const Picture &picture, qreal ratio)
{
    const QResource resource(QStringLiteral(":/prerendered/") + prerenderedName(picture, ratio));
    const QSize pixels = picture.size * ratio;
    if (!resource.isValid() || resource.uncompressedSize() != qint64(pixels.width()) * pixels.height() * 4)
        return {};
    QImage image;
    const bool inPlace = resource.compressionAlgorithm() == QResource::NoCompression
        && reinterpret_cast<quintptr>(resource.data()) % 4 == 0; // whole pixels, as the image reads them
    if (inPlace) { // read where it lies, never written
        image = QImage(resource.data(), pixels.width(), pixels.height(), pixels.width() * 4,
                       QImage::Format_ARGB32_Premultiplied);
    } else {
        auto *bytes = new QByteArray(resource.uncompressedData());
        image = QImage(reinterpret_cast<uchar *>(bytes->data()), pixels.width(), pixels.height(), pixels.width() * 4,
                       QImage::Format_ARGB32_Premultiplied, [](void *data) { delete static_cast<QByteArray *>(data); },
                       bytes);
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

} // namespace

QList<Picture> pictures()
{
    QList<Picture> all{background, banner, icon};
    for (int n = 1; n <= 6; ++n)
        all << link(n);
    return all;
}

QString source(const Picture &picture)
{
    return QStringLiteral(":/resources/%1.svg").arg(picture.name);
}

QString prerenderedName(const Picture &picture, qreal ratio)
{
    return QStringLiteral("%1@%2x.argb").arg(picture.name, QString::number(ratio));
}

QImage render(const QString &svgFile, const Picture &picture, qreal ratio)
{
    // As the window's own painter would draw it: in logical pixels, on the screen's pixel ratio.
    QImage image(picture.size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(picture.backdrop);
    QSvgRenderer renderer(svgFile);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(picture.size)));
    return image;
}

QPixmap pixmap(const Picture &picture, qreal ratio)
{
    const QImage ahead = prerendered(picture, ratio);
    return QPixmap::fromImage(ahead.isNull() ? render(source(picture), picture, ratio) : ahead);
}

QPixmap linkPixmap(int n, qreal ratio)
{
    const QImage ahead = prerendered(link(n), ratio);
    return ahead.isNull() ? pixmap(link(n), qMax<qreal>(2.0, ratio)) : QPixmap::fromImage(ahead);
}

void draw(QPainter &painter, const Picture &picture)
{
    const qreal ratio = painter.device()->devicePixelRatio();
    // Kept once found: the background is drawn at every paint of the window.
    static std::map<QString, QImage> ahead;
    const QString name = prerenderedName(picture, ratio);
    auto found = ahead.find(name);
    if (found == ahead.end())
        found = ahead.emplace(name, prerendered(picture, ratio)).first;
    if (!found->second.isNull()) {
        painter.drawImage(QPointF(0, 0), found->second);
        return;
    }
    // Parsed once, drawn from the vector source at every paint.
    static std::map<QString, std::unique_ptr<QSvgRenderer>> renderers;
    std::unique_ptr<QSvgRenderer> &renderer = renderers[picture.name];
    if (!renderer)
        renderer = std::make_unique<QSvgRenderer>(source(picture));
    renderer->render(&painter, QRectF(QPointF(0, 0), QSizeF(picture.size)));
}

QIcon windowIcon()
{
    QIcon result;
    for (const qreal ratio : {1.0, 1.5, 2.0})
        result.addPixmap(pixmap(icon, ratio));
    return result;
}

void substituteFaces()
{
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

} // namespace artwork
