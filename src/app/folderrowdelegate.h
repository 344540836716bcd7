// SPDX-License-Identifier: MIT
// Draws a row of the folder list indented by its depth, so that icon and name move together and
// the name itself, free of leading blanks, is what typing a name finds.
#pragma once

#include <QStyledItemDelegate>

class FolderRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // The row's depth below the root, an int.
    static constexpr int DepthRole = Qt::UserRole + 1;

    using QStyledItemDelegate::QStyledItemDelegate;

    // How far a row of the given depth is drawn from the left edge of the list.
    static int indent(int depth);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // A path may hold what looks like markup; the tooltip shows it as it is.
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;
};
