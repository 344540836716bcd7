// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

// A label or picture that reports a click of the left mouse button. Given a focus policy it is
// reached with Tab as well, shows a focus frame, and takes Space and Enter as a click.
class ClickableLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    // A dotted frame along the edge in the caption's colour, over a line of the opposite
    // brightness, so that it shows on any background; only while the label has the focus.
    void paintFocusFrame(QPainter &painter) const;
};
