#pragma once

#include <QAbstractListModel>
#include <memory>
#include <vector>

namespace notara {

class Annotation;
class Work;

// The detail pane's rows: the annotations of the shown work, in the work's order.
class AnnotationListModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        UserNotesRole = Qt::UserRole + 1,
    };

    using QAbstractListModel::QAbstractListModel;

    void setWork(const std::shared_ptr<Work>& work);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    std::shared_ptr<Annotation> annotationAt(int row) const;

private:
    std::vector<std::shared_ptr<Annotation>> _annotations;
};

} // namespace notara
