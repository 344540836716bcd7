// SPDX-License-Identifier: MIT
#include "folderrowdelegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QTextDocument>
#include <QToolTip>

int FolderRowDelegate::indent(int depth)
{
    // About three blanks of the list's face per level, as the folder lists of old drew it.
    constexpr int kPerLevel = 8;
    return qMax(0, depth) * kPerLevel;
}

void FolderRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // Icon, name and selection move right together, as in a tree; a name too long for what is
    // left is elided by the style.
    QStyleOptionViewItem shifted(option);
    shifted.rect.setLeft(option.rect.left() + indent(index.data(DepthRole).toInt()));
    QStyledItemDelegate::paint(painter, shifted, index);
}

QSize FolderRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.rwidth() += indent(index.data(DepthRole).toInt());
    // No wider than the list: a long name is elided rather than scrolled to.
    if (const auto *view = qobject_cast<const QAbstractItemView *>(option.widget))
        size.setWidth(qMin(size.width(), view->viewport()->width()));
    return size;
}

bool FolderRowDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                                  const QModelIndex &index)
{
    const QString tip = index.data(Qt::ToolTipRole).toString();
    if (event->type() != QEvent::ToolTip || tip.isEmpty())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QToolTip::showText(event->globalPos(), Qt::convertFromPlainText(tip, Qt::WhiteSpaceNoWrap), view,
                       option.rect);
    return true;
}
