#include "notara/ui/AnnotationCardDelegate.h"

#include "notara/ui/AnnotationListModel.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <cmath>

namespace notara {

namespace {

// Passages keep their paragraph breaks; a text layout breaks lines only at line separators.
QString shownText(QString text) {
    text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    text.replace(QLatin1Char('\r'), QChar::LineSeparator);
    return text;
}

// Lays the text out at `width` and returns its height.
qreal layOut(QTextLayout& layout, qreal width) {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return std::ceil(y);
}

} // namespace

AnnotationCardDelegate::AnnotationCardDelegate(QAbstractItemView* view)
    : QStyledItemDelegate(view), _view(view) {}

QFont AnnotationCardDelegate::passageFont(const QFont& base) {
    QFont font = base;
    font.setPixelSize(kFontPixelSize);
    return font;
}

QFont AnnotationCardDelegate::noteFont(const QFont& base) {
    QFont font = passageFont(base);
    font.setWeight(QFont::Thin);
    font.setItalic(true);
    return font;
}

QString AnnotationCardDelegate::noteLine(const QString& userNotes) {
    return userNotes.isEmpty() ? QString() : QStringLiteral("Note: ") + userNotes;
}

int AnnotationCardDelegate::textWidth() const {
    return std::max(1, _view->viewport()->width() - 2 * kSideInset - 2 * kPadding);
}

int AnnotationCardDelegate::cardHeight(const QModelIndex& index, int width) const {
    const int rows = index.model()->rowCount();
    if (_heightsWidth != width || static_cast<int>(_heights.size()) != rows) {
        _heights.assign(static_cast<std::size_t>(rows), 0);
        _heightsWidth = width;
        _measuredCount = 0;
    }
    int& cached = _heights[static_cast<std::size_t>(index.row())];
    if (cached > 0) return cached;

    QTextLayout passage(shownText(index.data(Qt::DisplayRole).toString()), passageFont(_view->font()));
    qreal height = layOut(passage, width);
    const QString note = noteLine(index.data(AnnotationListModel::UserNotesRole).toString());
    if (!note.isEmpty()) {
        QTextLayout noteLayout(shownText(note), noteFont(_view->font()));
        height += kNoteSpacing + layOut(noteLayout, width);
    }
    cached = static_cast<int>(height) + 2 * kPadding + kRowSpacing;
    ++_measuredCount;
    return cached;
}

QSize AnnotationCardDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const {
    return {_view->viewport()->width(), cardHeight(index, textWidth())};
}

void AnnotationCardDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    const QRect card =
        option.rect.adjusted(kSideInset, kRowSpacing / 2, -kSideInset, -(kRowSpacing - kRowSpacing / 2));
    QPainterPath shape;
    shape.addRoundedRect(QRectF(card), kCornerRadius, kCornerRadius);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    QColor background(128, 128, 128);
    background.setAlphaF(kBackgroundOpacity);
    painter->fillPath(shape, background);
    if (option.state & QStyle::State_Selected) {
        QColor highlight = option.palette.color(QPalette::Highlight);
        highlight.setAlphaF(0.22);
        painter->fillPath(shape, highlight);
    }
    painter->setClipPath(shape);
    painter->setPen(option.palette.color(QPalette::Text));

    const qreal width = card.width() - 2 * kPadding;
    QPointF origin(card.left() + kPadding, card.top() + kPadding);
    QTextLayout passage(shownText(index.data(Qt::DisplayRole).toString()), passageFont(_view->font()));
    const qreal passageHeight = layOut(passage, width);
    passage.draw(painter, origin);

    const QString note = noteLine(index.data(AnnotationListModel::UserNotesRole).toString());
    if (!note.isEmpty()) {
        QTextLayout noteLayout(shownText(note), noteFont(_view->font()));
        layOut(noteLayout, width);
        noteLayout.draw(painter, origin + QPointF(0, passageHeight + kNoteSpacing));
    }
    painter->restore();
}

} // namespace notara
