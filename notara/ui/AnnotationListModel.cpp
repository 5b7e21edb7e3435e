#include "notara/ui/AnnotationListModel.h"

#include "notara/core/model/Annotation.h"
#include "notara/core/model/AnnotationPlace.h"
#include "notara/core/model/Work.h"

#include "notara/core/search/SearchIndex.h"

#include <QDateTime>
#include <QPoint>

#include <QLocale>
#include <algorithm>

namespace notara {

void AnnotationListModel::setWork(const std::shared_ptr<Work>& work, AnnotationOrder::Order order) {
    beginResetModel();
    _work = work;
    _order = order;
    rebuild();
    endResetModel();
}

void AnnotationListModel::setOrder(AnnotationOrder::Order order) {
    if (order == _order) return;
    setWork(_work, order);
}

void AnnotationListModel::setSearch(const std::span<const Annotation* const>* matching,
                                    const QString& query) {
    beginResetModel();
    _searching = matching != nullptr;
    _matching.clear();
    if (matching) {
        _matching.assign(matching->begin(), matching->end());
        std::sort(_matching.begin(), _matching.end());
    }
    _query = query.toStdString();
    rebuild();
    endResetModel();
}

void AnnotationListModel::rebuild() {
    _annotations = _work ? AnnotationOrder::sorted(_work->annotations, _order)
                         : std::vector<std::shared_ptr<Annotation>>();
    if (_searching) {
        std::erase_if(_annotations, [this](const std::shared_ptr<Annotation>& annotation) {
            return !std::binary_search(_matching.begin(), _matching.end(), annotation.get());
        });
    }
    _rows.clear();
    _rows.reserve(_annotations.size());
    const std::string* chapter = nullptr;
    for (size_t i = 0; i < _annotations.size(); ++i) {
        const std::string& current = _annotations[i]->annotationChapter;
        if (!current.empty() && (!chapter || *chapter != current)) _rows.push_back({-1, static_cast<int>(i)});
        chapter = &current;
        _rows.push_back({static_cast<int>(i), -1});
    }
}

int AnnotationListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(_rows.size());
}

QString AnnotationListModel::placeText(const Annotation& annotation) {
    return QString::fromStdString(AnnotationPlace::text(annotation));
}

QString AnnotationListModel::dateText(const Annotation& annotation) {
    if (annotation.annotationCreated.empty()) return {};
    const QDateTime moment =
        QDateTime::fromString(QString::fromUtf8(annotation.annotationCreated.view()), Qt::ISODate);
    if (!moment.isValid()) return {};
    return QLocale().toString(moment.toLocalTime().date(), QLocale::ShortFormat);
}

QVariant AnnotationListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Row& row = _rows[static_cast<std::size_t>(index.row())];
    if (row.annotation < 0) {
        const Annotation& first = *_annotations[static_cast<std::size_t>(row.chapterOf)];
        switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole: return QString::fromStdString(first.annotationChapter);
        case IsChapterRole: return true;
        default: return {};
        }
    }
    const Annotation& annotation = *_annotations[static_cast<std::size_t>(row.annotation)];
    switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(annotation.annotationSelectedText);
    case UserNotesRole: return QString::fromStdString(annotation.annotationUserNotes);
    case IsChapterRole: return false;
    case IsLoneNoteRole: return annotation.annotationKind == Annotation::Kind::Note;
    case ColorRole: return QString::fromStdString(annotation.annotationColor);
    case PlaceLineRole: {
        QStringList parts;
        const QString place = placeText(annotation);
        // A card sits under its chapter's row: a place that is only the chapter would say it twice.
        if (!place.isEmpty() && place != QString::fromStdString(annotation.annotationChapter)) parts << place;
        const QString date = dateText(annotation);
        if (!date.isEmpty()) parts << date;
        if (const AnnotationInLibrary* kept = annotation.annotationLibrary.get()) {
            if (kept->favourite) parts.prepend(QStringLiteral("\u2605"));
            for (const std::string& tag : kept->tags)
                parts << QLatin1Char('#') + QString::fromStdString(tag);
            if (!kept->removedAtSource.empty()) {
                const QString on = QString::fromUtf8(kept->removedAtSource.view().substr(0, 10));
                parts << tr("Removed at source on %1").arg(on);
            }
        }
        return parts.join(QStringLiteral(" \u00B7 "));
    }
    case Qt::AccessibleTextRole: {
        // A screen reader reads a card as the reader sees it: passage, note, then place.
        QStringList parts;
        if (!annotation.annotationSelectedText.empty())
            parts << QString::fromStdString(annotation.annotationSelectedText);
        if (!annotation.annotationUserNotes.empty())
            parts << tr("Note: %1").arg(QString::fromStdString(annotation.annotationUserNotes));
        const QString place = data(index, PlaceLineRole).toString();
        if (!place.isEmpty()) parts << place;
        return parts.join(QStringLiteral(". "));
    }
    case PassageMatchesRole:
    case NoteMatchesRole: {
        if (!_searching) return {};
        const std::string& text =
            role == PassageMatchesRole ? annotation.annotationSelectedText : annotation.annotationUserNotes;
        // Byte ranges of the UTF-8 text become ranges of the QString's UTF-16 units.
        QVariantList ranges;
        for (const auto& [from, to] : SearchIndex::matchRanges(text, _query)) {
            const qsizetype start = QString::fromUtf8(text.data(), from).size();
            const qsizetype length = QString::fromUtf8(text.data() + from, to - from).size();
            ranges << QPoint(static_cast<int>(start), static_cast<int>(length));
        }
        return ranges;
    }
    default: return {};
    }
}

Qt::ItemFlags AnnotationListModel::flags(const QModelIndex& index) const {
    // Chapter rows are headings: the arrow keys pass over them.
    if (index.isValid() && index.data(IsChapterRole).toBool()) return Qt::NoItemFlags;
    return QAbstractListModel::flags(index);
}

void AnnotationListModel::refresh() {
    if (!_rows.empty()) emit dataChanged(index(0), index(static_cast<int>(_rows.size()) - 1));
}

std::shared_ptr<Annotation> AnnotationListModel::annotationAt(int row) const {
    if (row < 0 || row >= rowCount()) return nullptr;
    const Row& entry = _rows[static_cast<std::size_t>(row)];
    return entry.annotation < 0 ? nullptr : _annotations[static_cast<std::size_t>(entry.annotation)];
}

} // namespace notara
