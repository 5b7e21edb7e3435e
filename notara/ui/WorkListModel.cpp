#include "notara/ui/WorkListModel.h"

#include "notara/core/model/DataManager.h"
#include "notara/core/model/Work.h"

namespace notara {

WorkListModel::WorkListModel(DataManager& dataManager, QObject* parent)
    : QAbstractListModel(parent), _dataManager(dataManager), _works(dataManager.filteredWorks()),
      _allWorks(_works) {
    _observerId = _dataManager.addFilteredWorksObserver([this](DataManager::Change change) {
        if (change == DataManager::Change::WillAssign) {
            beginResetModel();
        } else {
            _allWorks = _dataManager.filteredWorks();
            // A search in place is run again by the window on the new list.
            if (!_searching) _works = _allWorks;
            endResetModel();
            emit refreshed();
        }
    });
}

WorkListModel::~WorkListModel() {
    _dataManager.removeFilteredWorksObserver(_observerId);
}

int WorkListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(_works.size());
}

QVariant WorkListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Work& work = *_works[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(work.workTitle);
    case Qt::AccessibleTextRole:
        return QString::fromStdString(work.workTitle) + QStringLiteral(". ") +
               data(index, AnnotationCountTextRole).toString();
    case Qt::ToolTipRole:
        if (!work.workSources.empty())
            return QString::fromStdString(work.workTitle) + QLatin1Char('\n') + sourcesText(work);
        return QString::fromStdString(work.workTitle);
    case WorkIDRole: return work.id;
    case AnnotationCountTextRole:
        if (_searching) {
            const auto* matches = matchesOf(&work);
            return tr("Matching Annotations: ") + QString::number(matches ? matches->size() : 0);
        }
        if (!work.workSources.empty()) // a work of the library says where it comes from
            return tr("Total Annotations: ") + QString::number(work.annotations.size()) +
                   QStringLiteral(" \u00B7 ") + sourcesText(work);
        return tr("Total Annotations: ") + QString::number(work.annotations.size());
    default: return {};
    }
}

QString WorkListModel::sourcesText(const Work& work) {
    QStringList names;
    for (const std::string& name : work.workSources)
        names << QString::fromStdString(name);
    return names.join(QStringLiteral(", "));
}

std::shared_ptr<Work> WorkListModel::workAt(int row) const {
    if (row < 0 || row >= rowCount()) return nullptr;
    return _works[static_cast<std::size_t>(row)];
}

int WorkListModel::rowOfWork(const QUuid& id) const {
    for (std::size_t row = 0; row < _works.size(); ++row)
        if (_works[row]->id == id) return static_cast<int>(row);
    return -1;
}

void WorkListModel::showSearch(SearchIndex::Matches results) {
    beginResetModel();
    _searching = true;
    _results = std::move(results);
    _works.clear();
    _resultOf.clear();
    for (const auto& result : _results) {
        _resultOf.emplace(result.work.get(), _works.size());
        _works.push_back(result.work);
    }
    endResetModel();
    emit refreshed();
}

void WorkListModel::clearSearch() {
    if (!_searching) return;
    beginResetModel();
    _searching = false;
    _results = {};
    _resultOf.clear();
    _works = _allWorks;
    endResetModel();
    emit refreshed();
}

const std::span<const Annotation* const>* WorkListModel::matchesOf(const Work* work) const {
    if (!_searching) return nullptr;
    const auto found = _resultOf.find(work);
    return found == _resultOf.end() ? nullptr : &_results[found->second].annotations;
}

} // namespace notara
