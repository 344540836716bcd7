// SPDX-License-Identifier: MIT
// The status caption: as large as its place allows, whole wherever it can be, and copied by a click.
#pragma once

#include "clickablelabel.h"

// Draws its caption in its own font while that fits left of `rightLimit`, else in the largest
// smaller size down to a readable floor; beyond that it cuts the caption with an ellipsis and shows
// it whole in the tooltip. text() stays the whole caption.
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
    void paintEvent(QPaintEvent *event) override;

private:
    int room() const;

    int m_rightLimit;
};
