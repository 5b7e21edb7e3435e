#include "notara/ui/WorkRowDelegate.h"

#include "notara/ui/WorkListModel.h"

#include <QApplication>
#include <QPainter>

namespace notara {

namespace {

constexpr int kVerticalPadding = 5;
constexpr int kHorizontalPadding = 8;
constexpr int kLineGap = 2;

} // namespace

QFont WorkRowDelegate::countFont(const QFont& base) {
    QFont font = base;
    font.setWeight(QFont::Thin);
    return font;
}

void WorkRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyleOptionViewItem panel = option;
    initStyleOption(&panel, index);
    panel.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &panel, painter, widget);

    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group =
        option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    painter->save();
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));

    const QRect area = option.rect.adjusted(kHorizontalPadding, kVerticalPadding, -kHorizontalPadding, 0);
    const QFontMetrics titleMetrics(option.font);
    // Titles are data: drawn verbatim on one line (no mnemonics, no markup), elided when too wide.
    const QString title =
        titleMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, area.width());
    painter->setFont(option.font);
    painter->drawText(QRect(area.left(), area.top(), area.width(), titleMetrics.height()),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title);

    const QFont thin = countFont(option.font);
    const QFontMetrics countMetrics(thin);
    painter->setFont(thin);
    painter->drawText(QRect(area.left(), area.top() + titleMetrics.height() + kLineGap, area.width(),
                            countMetrics.height()),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(WorkListModel::AnnotationCountTextRole).toString());
    painter->restore();
}

QSize WorkRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    const int height = QFontMetrics(option.font).height() + kLineGap +
                       QFontMetrics(countFont(option.font)).height() + 2 * kVerticalPadding;
    return {option.rect.width() > 0 ? option.rect.width() : 200, height};
}

} // namespace notara
