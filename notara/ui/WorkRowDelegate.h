#pragma once

#include <QStyledItemDelegate>

namespace notara {

// A sidebar row: the title on the first line, the annotation count in thin weight beneath.
class WorkRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static QFont countFont(const QFont& base);
};

} // namespace notara
