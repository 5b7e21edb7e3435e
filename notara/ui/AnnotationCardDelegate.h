#pragma once

#include <QStyledItemDelegate>
#include <vector>

class QAbstractItemView;
class QTextLayout;

namespace notara {

// Draws one annotation as a card: the highlight's colour as a stripe (an underline as an
// underlined passage), the passage, then "Note: " and the note in thin italics, then the place
// and date in small grey type, word-wrapped to the view's width; a lone note shows its note in
// the passage's place. Chapter rows are a bold line above their cards. Cards are painted, not built from
// widgets, and their heights are measured only when the view lays a row out, so a work with thousands of
// annotations opens at once and lays out in batches as the list is scrolled.
class AnnotationCardDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int kFontPixelSize = 20;
    static constexpr int kPadding = 50;
    static constexpr int kNoteSpacing = 10;
    static constexpr int kCornerRadius = 5;
    static constexpr qreal kBackgroundOpacity = 0.08;
    static constexpr int kRowSpacing = 10; // between two cards
    static constexpr int kSideInset = 6;   // between a card and the list's edges
    static constexpr const char* kNotePrefix = QT_TR_NOOP("Note: ");
    static constexpr int kColorStripeWidth = 6;
    static constexpr int kPlaceFontPixelSize = 13;
    static constexpr int kChapterFontPixelSize = 16;
    static constexpr int kChapterTop = 16;
    static constexpr int kChapterBottom = 4;

    explicit AnnotationCardDelegate(QAbstractItemView* view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static QFont passageFont(const QFont& base);
    static QFont noteFont(const QFont& base);
    static QFont placeFont(const QFont& base);
    static QFont chapterFont(const QFont& base);
    // The note line as shown; empty when the annotation has no note.
    static QString noteLine(const QString& userNotes);

    // How many cards have been measured since the rows last changed (for profiling).
    int measuredCardCount() const { return _measuredCount; }

    // Follows `model`'s resets: the measured heights belong to the rows shown before.
    void watchModel(QAbstractItemModel* model);
    void forgetHeights();

private:
    int textWidth() const;
    int cardHeight(const QModelIndex& index, int width) const;

    QAbstractItemView* _view;
    mutable std::vector<int> _heights; // per row, for _heightsWidth; 0 = not measured
    mutable int _heightsWidth = -1;
    mutable int _measuredCount = 0;
};

} // namespace notara
