#include "notara/core/sources/books/BooksSource.h"

#include "notara/core/model/DataManager.h"
#include "notara/core/sources/SourceKeys.h"
#include "notara/core/sources/books/BooksFolder.h"
#include "notara/core/sqlite/SQLiteManager.h"

namespace notara {

namespace {

// The Core Data store's own id, which a copy keeps wherever it goes.
std::string storeID(const std::optional<std::filesystem::path>& copy) {
    if (!copy) return {};
    const auto db = SQLiteManager::open(SQLiteManager::fileURI(*copy) + "?mode=ro");
    if (!db) return {};
    const auto tables = db->listTables();
    if (std::find(tables.begin(), tables.end(), "Z_METADATA") == tables.end()) return {};
    std::string id;
    db->forEachRow("SELECT Z_UUID FROM Z_METADATA LIMIT 1", {},
                   [&](const SQLiteManager::Cursor& row) { id = row.text(0); });
    return id;
}

} // namespace

SourceRead BooksSource::read(const std::filesystem::path& place) const {
    SourceRead read;
    read.kind = kind();
    read.place = place;
    const BooksFolder::Choice choice = BooksFolder::choose(place, BooksFolder::Remember::No);
    if (!choice.complete()) {
        read.problem = choice.missingText();
        read.storesMissing = true;
        return read;
    }
    DataManager model;
    if (!model.loadDatabases(choice.pairing)) {
        read.problem = model.lastLoadProblem().starts_with("These files")
                           ? "the databases under \"" + place.string() + "\" are not Apple Books databases"
                           : model.lastLoadProblem();
        if (read.problem.empty()) read.problem = "the Books databases could not be loaded";
        return read;
    }
    return describe(model, place);
}

SourceRead BooksSource::describe(const DataManager& model, const std::filesystem::path& place) {
    SourceRead read;
    read.kind = SourceKind::Books;
    read.place = place;
    read.name = "Apple Books";
    read.works = model.works();
    if (model.recentHighlightsMayBeMissing()) read.warnings.emplace_back(DataManager::missingLogMessage);
    const std::string annotationStore = storeID(model.annotationSQLFile());
    const std::string libraryStore = storeID(model.librarySQLFile());
    read.key =
        annotationStore.empty() && libraryStore.empty() ? "books" : annotationStore + '/' + libraryStore;
    for (const WorkPtr& work : read.works) {
        work->workKey = work->workID;
        for (const AnnotationPtr& annotation : work->annotations)
            annotation->annotationKey = "books:" + annotation->annotationID;
    }
    SourceKeys::fingerprint(read);
    return read;
}

} // namespace notara
