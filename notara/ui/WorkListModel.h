#pragma once

#include "notara/core/search/SearchIndex.h"

#include <QAbstractListModel>
#include <QUuid>
#include <cstdint>
#include <memory>
#include <unordered_map>
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
        AnnotationCountTextRole,       // "Total Annotations: " and the count ("Matching" while searching)
    };

    explicit WorkListModel(DataManager& dataManager, QObject* parent = nullptr);
    ~WorkListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    std::shared_ptr<Work> workAt(int row) const;
    // "Apple Books, Kobo": the sources a work of the library comes from.
    static QString sourcesText(const Work& work);
    int rowOfWork(const QUuid& id) const;

    // While a search is shown: only the works with matches, each row counting its matching
    // annotations. clearSearch() shows filteredWorks again.
    void showSearch(SearchIndex::Matches results);
    void clearSearch();
    bool searching() const { return _searching; }
    // The matching annotations of a listed work during a search; null when not searching.
    const std::span<const Annotation* const>* matchesOf(const Work* work) const;

signals:
    // The rows were replaced by the current filteredWorks.
    void refreshed();

private:
    DataManager& _dataManager;
    std::vector<std::shared_ptr<Work>> _works;
    std::vector<std::shared_ptr<Work>> _allWorks; // filteredWorks, while a search shows fewer
    SearchIndex::Matches _results;
    std::unordered_map<const Work*, std::size_t> _resultOf;
    bool _searching = false;
    std::uint64_t _observerId = 0;
};

} // namespace notara
