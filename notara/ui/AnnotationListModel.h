#pragma once

#include "notara/core/model/AnnotationOrder.h"

#include <QAbstractListModel>
#include <memory>
#include <span>
#include <vector>

namespace notara {

class Annotation;
class Work;

// The detail pane's rows: the annotations of the shown work in the chosen order, with a
// chapter heading row before each run of annotations of one chapter. Sorted once when the
// work or the order changes, never while painting.
class AnnotationListModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        UserNotesRole = Qt::UserRole + 1,
        IsChapterRole,      // bool: a chapter heading row (its DisplayRole is the chapter)
        IsLoneNoteRole,     // bool: a note without a passage
        ColorRole,          // the highlight colour name ("yellow", "underline", "" for none)
        PlaceLineRole,      // "Page 77 · Location 805 · 2 Nov 2021": place and date highlighted
        PassageMatchesRole, // QVariantList of QPoint(start, length) in DisplayRole's text, while searching
        NoteMatchesRole,    // the same in the note (UserNotesRole)
    };

    using QAbstractListModel::QAbstractListModel;

    void setWork(const std::shared_ptr<Work>& work,
                 AnnotationOrder::Order order = AnnotationOrder::Order::Stored);
    void setOrder(AnnotationOrder::Order order);
    // Shows only `matching` (a search's matches in the work) with `query`'s matches marked;
    // null shows every annotation.
    void setSearch(const std::span<const Annotation* const>* matching, const QString& query);
    AnnotationOrder::Order order() const { return _order; }
    // Every row changed in place (an annotation's marks).
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Null for a chapter row.
    std::shared_ptr<Annotation> annotationAt(int row) const;

    // The place as a card shows it, without the date ("Page 77 · Location 805", or the chapter).
    static QString placeText(const Annotation& annotation);
    // The date highlighted in the user's locale; empty when unknown.
    static QString dateText(const Annotation& annotation);

private:
    void rebuild();

    std::shared_ptr<Work> _work;
    AnnotationOrder::Order _order = AnnotationOrder::Order::Stored;
    std::vector<std::shared_ptr<Annotation>> _annotations;
    struct Row {
        int annotation = -1; // index into _annotations, -1 for a chapter row
        int chapterOf = -1;  // for a chapter row: the annotation whose chapter it names
    };
    std::vector<Row> _rows;
    bool _searching = false;
    std::vector<const Annotation*> _matching; // sorted, while searching
    std::string _query;
};

} // namespace notara
