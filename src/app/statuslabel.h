// SPDX-License-Identifier: MIT
// The status caption: as large as its place allows, whole wherever it can be, and copied by a click.
#pragma once

#include "clickablelabel.h"

// Draws its caption in its own font while that fits left of `rightLimit`, else in the largest
// smaller size down to a readable floor; beyond that it cuts the caption with an ellipsis and shows
// it whole in the tooltip. text() stays the whole caption. Where the desktop asks for high
// contrast, the caption gets a black outline: the orange on black reaches 8.3:1.
class StatusLabel : public ClickableLabel
{
    Q_OBJECT

public:
    StatusLabel(int rightLimit, QWidget *parent);

    QFont shownFont() const;
    QString shownText() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override; // Ctrl+C copies, as a click does
    void paintEvent(QPaintEvent *event) override;

private:
    int room() const;

    int m_rightLimit;
};
