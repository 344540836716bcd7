// SPDX-License-Identifier: MIT
#include "bannerarea.h"

#include "artwork.h"

#include <QPainter>

void BannerArea::paintEvent(QPaintEvent *)
{
    // The dark foot of the background runs on behind the picture; the loaded page covers both.
    QPainter painter(this);
    painter.fillRect(rect(), artwork::bannerSurround);
    // Centred in the part of the area that the window shows: its foot lies below the window's edge.
    const QRect shown = parentWidget() ? rect().intersected(parentWidget()->rect().translated(-pos())) : rect();
    QRect place(QPoint(0, 0), artwork::banner.size);
    place.moveCenter(shown.center());
    painter.translate(place.topLeft());
    painter.setRenderHint(QPainter::Antialiasing);
    artwork::draw(painter, artwork::banner);
}
