#pragma once

#include <QAbstractListModel>
#include <QUuid>
#include <cstdint>
#include <memory>
#include <vector>

namespace notara {

class DataManager;
class Work;

// The sidebar's rows: a snapshot of the shared DataManager's filteredWorks. The DataManager
// announces every assignment before it happens (the view's reset begins there, while the old
// rows are still valid) and again once the new list is in place (the snapshot is retaken).
class WorkListModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        WorkIDRole = Qt::UserRole + 1, // QUuid of the row's Work
        AnnotationCountTextRole,       // "Total Annotations: " and the count
    };

    explicit WorkListModel(DataManager& dataManager, QObject* parent = nullptr);
    ~WorkListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    std::shared_ptr<Work> workAt(int row) const;
    int rowOfWork(const QUuid& id) const;

signals:
    // The rows were replaced by the current filteredWorks.
    void refreshed();

private:
    DataManager& _dataManager;
    std::vector<std::shared_ptr<Work>> _works;
    std::uint64_t _observerId = 0;
};

} // namespace notara
