// SPDX-License-Identifier: MIT
#include "clickablelabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!event->isAutoRepeat()) // held down, it acts once
            emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ClickableLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    QPainter painter(this);
    paintFocusFrame(painter);
}

void ClickableLabel::paintFocusFrame(QPainter &painter) const
{
    if (!hasFocus())
        return;
    const QColor ink = palette().color(foregroundRole());
    const QRectF edge = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ink.lightnessF() < 0.5 ? Qt::white : Qt::black, 1));
    painter.drawRect(edge);
    painter.setPen(QPen(ink, 1, Qt::DotLine));
    painter.drawRect(edge);
    painter.restore();
}
