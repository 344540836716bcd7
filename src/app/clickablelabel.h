// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

// A label or picture that reports a click of the left mouse button, or Space/Enter when it has the focus.
class ClickableLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
