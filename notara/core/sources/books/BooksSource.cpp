#include "notara/core/sources/books/BooksSource.h"

#include "notara/core/model/ContentHash.h"
#include "notara/core/model/DataManager.h"
#include "notara/core/sources/SourceKeys.h"
#include "notara/core/sources/books/BooksFolder.h"
#include "notara/core/sources/books/BooksWorkingCopy.h"
#include "notara/core/sqlite/SQLiteManager.h"

#include <fstream>

namespace notara {

namespace {

// The Core Data store's own id, which a copy keeps wherever it goes. `inPlace`: the user's own
// file, opened as immutable so that SQLite writes nothing beside it (no -shm); its -wal is then
// not read, which at worst gives another key and so a full read.
std::string storeID(const std::optional<std::filesystem::path>& copy, bool inPlace = false) {
    if (!copy) return {};
    const auto db =
        SQLiteManager::open(SQLiteManager::fileURI(*copy) + (inPlace ? "?immutable=1" : "?mode=ro"));
    if (!db) return {};
    const auto tables = db->listTables();
    if (std::find(tables.begin(), tables.end(), "Z_METADATA") == tables.end()) return {};
    std::string id;
    db->forEachRow("SELECT Z_UUID FROM Z_METADATA LIMIT 1", {},
                   [&](const SQLiteManager::Cursor& row) { id = row.text(0); });
    return id;
}

std::string sourceKey(const std::optional<std::filesystem::path>& annotations,
                      const std::optional<std::filesystem::path>& library, bool inPlace = false) {
    const std::string annotationStore = storeID(annotations, inPlace);
    const std::string libraryStore = storeID(library, inPlace);
    return annotationStore.empty() && libraryStore.empty() ? "books" : annotationStore + '/' + libraryStore;
}

std::filesystem::path walOf(const std::filesystem::path& store) {
    return store.native() + "-wal";
}

// The bytes of the stores and their -wal files, a megabyte at a time.
std::uint64_t bytesHash(const std::vector<std::filesystem::path>& files) {
    ContentHash hash;
    std::vector<char> buffer(1 << 20);
    for (const std::filesystem::path& path : files) {
        std::ifstream file(path, std::ios::binary);
        hash.add(std::uint64_t{file ? 1u : 0u}); // a -wal that is not there differs from an empty one
        while (file) {
            file.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            hash.add(std::string_view(buffer.data(), static_cast<std::size_t>(file.gcount())));
        }
    }
    return hash.value();
}

std::uint64_t storesHash(const SQLFilePairing& pairing) {
    return bytesHash({*pairing.annotationSQLFile, walOf(*pairing.annotationSQLFile), *pairing.librarySQLFile,
                      walOf(*pairing.librarySQLFile)});
}

} // namespace

std::optional<SourceProbe> BooksSource::probe(const std::filesystem::path& place) {
    const BooksFolder::Choice choice = BooksFolder::choose(place, BooksFolder::Remember::No);
    if (!choice.complete()) return std::nullopt;
    const SQLFilePairing& pairing = choice.pairing;
    SourceProbe probe{
        sourceKey(pairing.annotationSQLFile, pairing.librarySQLFile, true), storesHash(pairing), {}};
    if (BooksWorkingCopy::lacksItsLog(*pairing.annotationSQLFile) ||
        BooksWorkingCopy::lacksItsLog(*pairing.librarySQLFile))
        probe.warnings.emplace_back(DataManager::missingLogMessage);
    return probe;
}

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
    read.key = sourceKey(model.annotationSQLFile(), model.librarySQLFile());
    for (const WorkPtr& work : read.works) {
        work->keyIsWorkID = true;
        for (const AnnotationPtr& annotation : work->annotations)
            annotation->annotationKeyForm = Annotation::KeyForm::Books;
    }
    SourceKeys::fingerprint(read);
    return read;
}

} // namespace notara
