#include "notara/ui/AnnotationListModel.h"

#include "notara/core/Annotation.h"
#include "notara/core/Work.h"

namespace notara {

void AnnotationListModel::setWork(const std::shared_ptr<Work>& work) {
    beginResetModel();
    if (work)
        _annotations = work->annotations;
    else
        _annotations.clear();
    endResetModel();
}

int AnnotationListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(_annotations.size());
}

QVariant AnnotationListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Annotation& annotation = *_annotations[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(annotation.annotationSelectedText);
    case UserNotesRole: return QString::fromStdString(annotation.annotationUserNotes);
    default: return {};
    }
}

std::shared_ptr<Annotation> AnnotationListModel::annotationAt(int row) const {
    if (row < 0 || row >= rowCount()) return nullptr;
    return _annotations[static_cast<std::size_t>(row)];
}

} // namespace notara
