#include "notara/ui/AnnotationCardDelegate.h"

#include "notara/ui/AnnotationListModel.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <cmath>
#include <string_view>

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

// The mark of a highlight's colour; invalid for none and for underlines, which are drawn as such.
QColor markColor(const QString& name) {
    static const std::pair<const char*, QColor> colors[] = {
        {"yellow", QColor(0xF7, 0xCE, 0x00)}, {"blue", QColor(0x00, 0x92, 0xE8)},
        {"pink", QColor(0xE9, 0x4B, 0x8A)},   {"orange", QColor(0xF5, 0x8B, 0x1F)},
        {"green", QColor(0x4C, 0xB0, 0x50)},  {"purple", QColor(0x9B, 0x59, 0xB6)}};
    for (const auto& [known, color] : colors) {
        if (name == QLatin1String(known)) return color;
    }
    return {};
}

struct CardTexts {
    QString main;  // the passage, or a lone note's "Note: ..."
    QString note;  // the note line under a passage
    QString place; // the secondary line
    bool mainIsNote = false;
    bool underline = false;
};

CardTexts cardTexts(const QModelIndex& index) {
    CardTexts texts;
    const QString notes = index.data(AnnotationListModel::UserNotesRole).toString();
    texts.mainIsNote = index.data(AnnotationListModel::IsLoneNoteRole).toBool();
    texts.main = shownText(texts.mainIsNote ? AnnotationCardDelegate::noteLine(notes)
                                            : index.data(Qt::DisplayRole).toString());
    if (!texts.mainIsNote) texts.note = shownText(AnnotationCardDelegate::noteLine(notes));
    texts.place = shownText(index.data(AnnotationListModel::PlaceLineRole).toString());
    texts.underline = index.data(AnnotationListModel::ColorRole).toString() == QLatin1String("underline");
    return texts;
}

// The search's matches in a text shown from `offset` on (after "Note: "), as marks to draw.
QList<QTextLayout::FormatRange> marks(const QModelIndex& index, int role, int offset,
                                      const QPalette& palette) {
    QList<QTextLayout::FormatRange> ranges;
    for (const QVariant& value : index.data(role).toList()) {
        const QPoint range = value.toPoint();
        QTextLayout::FormatRange mark;
        mark.start = offset + range.x();
        mark.length = range.y();
        mark.format.setBackground(QColor(0xFF, 0xD5, 0x4F, 0xB0));
        mark.format.setForeground(palette.color(QPalette::Text));
        ranges << mark;
    }
    return ranges;
}

} // namespace

AnnotationCardDelegate::AnnotationCardDelegate(QAbstractItemView* view)
    : QStyledItemDelegate(view), _view(view) {}

// Heights belong to the rows of one work: another work with as many rows has other cards.
void AnnotationCardDelegate::watchModel(QAbstractItemModel* model) {
    connect(model, &QAbstractItemModel::modelReset, this, &AnnotationCardDelegate::forgetHeights);
    connect(model, &QAbstractItemModel::layoutChanged, this, &AnnotationCardDelegate::forgetHeights);
}

void AnnotationCardDelegate::forgetHeights() {
    _heights.clear();
    _heightsWidth = -1;
}

QFont AnnotationCardDelegate::chapterFont(const QFont& base) {
    QFont font = base;
    font.setPixelSize(kChapterFontPixelSize);
    font.setBold(true);
    return font;
}

QFont AnnotationCardDelegate::placeFont(const QFont& base) {
    QFont font = base;
    font.setPixelSize(kPlaceFontPixelSize);
    return font;
}

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
    return userNotes.isEmpty() ? QString() : tr(kNotePrefix) + userNotes;
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

    if (index.data(AnnotationListModel::IsChapterRole).toBool()) {
        QTextLayout chapter(shownText(index.data(Qt::DisplayRole).toString()), chapterFont(_view->font()));
        cached = static_cast<int>(layOut(chapter, width + 2 * kPadding)) + kChapterTop + kChapterBottom;
        ++_measuredCount;
        return cached;
    }
    const CardTexts texts = cardTexts(index);
    QTextLayout main(texts.main, texts.mainIsNote ? noteFont(_view->font()) : passageFont(_view->font()));
    qreal height = layOut(main, width);
    if (!texts.note.isEmpty()) {
        QTextLayout noteLayout(texts.note, noteFont(_view->font()));
        height += kNoteSpacing + layOut(noteLayout, width);
    }
    if (!texts.place.isEmpty()) {
        QTextLayout placeLayout(texts.place, placeFont(_view->font()));
        height += kNoteSpacing + layOut(placeLayout, width);
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
    if (index.data(AnnotationListModel::IsChapterRole).toBool()) {
        painter->save();
        painter->setPen(
            option.palette.color(QPalette::Normal, QPalette::Text)); // a heading, not a disabled row
        QTextLayout chapter(shownText(index.data(Qt::DisplayRole).toString()), chapterFont(_view->font()));
        const QRect area = option.rect.adjusted(kSideInset + 4, kChapterTop, -kSideInset, 0);
        layOut(chapter, area.width());
        chapter.draw(painter, area.topLeft());
        painter->restore();
        return;
    }
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
    // The card the keyboard is on, marked even where selection colours are faint.
    if ((option.state & QStyle::State_HasFocus) && _view->hasFocus()) {
        painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
        painter->drawPath(shape);
    }
    painter->setClipPath(shape);
    const QColor mark = markColor(index.data(AnnotationListModel::ColorRole).toString());
    if (mark.isValid())
        painter->fillRect(QRect(card.left(), card.top(), kColorStripeWidth, card.height()), mark);
    painter->setPen(option.palette.color(QPalette::Text));

    const CardTexts texts = cardTexts(index);
    const qreal width = card.width() - 2 * kPadding;
    QPointF origin(card.left() + kPadding, card.top() + kPadding);
    QFont mainFont = texts.mainIsNote ? noteFont(_view->font()) : passageFont(_view->font());
    mainFont.setUnderline(texts.underline);
    QTextLayout main(texts.main, mainFont);
    origin.ry() += layOut(main, width);
    const auto notePrefix = static_cast<int>(tr(kNotePrefix).size());
    main.draw(painter, QPointF(origin.x(), card.top() + kPadding),
              texts.mainIsNote
                  ? marks(index, AnnotationListModel::NoteMatchesRole, notePrefix, option.palette)
                  : marks(index, AnnotationListModel::PassageMatchesRole, 0, option.palette));

    if (!texts.note.isEmpty()) {
        QTextLayout noteLayout(texts.note, noteFont(_view->font()));
        const qreal height = layOut(noteLayout, width);
        noteLayout.draw(painter, origin + QPointF(0, kNoteSpacing),
                        marks(index, AnnotationListModel::NoteMatchesRole, notePrefix, option.palette));
        origin.ry() += kNoteSpacing + height;
    }
    if (!texts.place.isEmpty()) {
        painter->setPen(option.palette.color(QPalette::PlaceholderText));
        QTextLayout placeLayout(texts.place, placeFont(_view->font()));
        layOut(placeLayout, width);
        placeLayout.draw(painter, origin + QPointF(0, kNoteSpacing));
    }
    painter->restore();
}

} // namespace notara
