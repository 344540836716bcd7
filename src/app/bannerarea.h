// SPDX-License-Identifier: MIT
// The banner's place in the window: the tool's own banner picture until the banner page has loaded.
#pragma once

#include <QWidget>

class BannerArea : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *event) override;
};
