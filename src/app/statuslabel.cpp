// SPDX-License-Identifier: MIT
#include "statuslabel.h"

#include "platform/highcontrast.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QTextDocument>
#include <QPainter>
#include <QToolTip>

namespace {
// The compact face of the window's boxes and lists: the smallest text the window uses anywhere.
constexpr qreal kSmallestPoints = 7.5;
constexpr qreal kStepPoints = 0.25;
} // namespace

StatusLabel::StatusLabel(int rightLimit, QWidget *parent)
    : ClickableLabel(parent)
    , m_rightLimit(rightLimit)
{
    setTextFormat(Qt::PlainText);
}

int StatusLabel::room() const
{
    return m_rightLimit - x() - 2 * margin();
}

QFont StatusLabel::shownFont() const
{
    QFont shown = font();
    for (qreal points = font().pointSizeF(); points >= kSmallestPoints; points -= kStepPoints) {
        shown.setPointSizeF(points);
        if (QFontMetrics(shown).horizontalAdvance(text()) <= room())
            break;
    }
    return shown;
}

QString StatusLabel::shownText() const
{
    return QFontMetrics(shownFont()).elidedText(text(), Qt::ElideRight, room());
}

QSize StatusLabel::sizeHint() const
{
    // The height stays that of the label's own font, so the caption never moves up or down.
    const int width = QFontMetrics(shownFont()).horizontalAdvance(shownText()) + 2 * margin();
    return QSize(width, QLabel::sizeHint().height());
}

QSize StatusLabel::minimumSizeHint() const
{
    return sizeHint();
}

bool StatusLabel::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && shownText() != text()) {
        const auto *help = static_cast<QHelpEvent *>(event);
        QToolTip::showText(help->globalPos(), Qt::convertFromPlainText(text(), Qt::WhiteSpaceNoWrap)
                                                  + QStringLiteral("<p>%1</p>").arg(toolTip().toHtmlEscaped()),
                           this);
        return true;
    }
    return ClickableLabel::event(event);
}

void StatusLabel::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        click();
        return;
    }
    ClickableLabel::keyPressEvent(event);
}

void StatusLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(shownFont());
    const QRect place = contentsRect().adjusted(margin(), 0, -margin(), 0);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter;
    if (highContrastRequested()) {
        painter.setPen(Qt::black);
        for (const QPoint offset : {QPoint(-1, -1), QPoint(0, -1), QPoint(1, -1), QPoint(-1, 0), QPoint(1, 0),
                                    QPoint(-1, 1), QPoint(0, 1), QPoint(1, 1)})
            painter.drawText(place.translated(offset), flags, shownText());
    }
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(place, flags, shownText());
    paintFocusFrame(painter);
}
