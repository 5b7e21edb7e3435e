#include "notara/core/model/DataManager.h"

#include "notara/core/export/BulkExport.h"
#include "notara/core/export/MarkdownExport.h"
#include "notara/core/sources/books/BooksFolder.h"
#include "notara/core/sources/books/BooksStoreReader.h"
#include "notara/core/sources/books/BooksWorkingCopy.h"

#include "corvane/Corvane.h"
#include "corvane/Report.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace notara {

DataManager& DataManager::shared() {
    static DataManager instance;
    return instance;
}

std::optional<fs::path> DataManager::findSQLiteFile(const fs::path& folder, std::string_view subPath) {
    return BooksFolder::findSQLiteFile(folder, subPath);
}

DataManager::~DataManager() {
    Work::release(filteredWorks_);
    Work::release(works_);
}

bool DataManager::loadDatabases(const SQLFilePairing& pairing) {
    lastLoadProblem_.clear();
    const bool copying = pairing.annotationSQLFile && pairing.librarySQLFile;
    // Copies that failed are not the chosen folder's: loading whatever is left there would
    // show another library as if it were this one.
    if (copying && !copyDatabases(pairing)) {
        lastLoadProblem_ += " Nothing was loaded.";
        return false;
    }
    // The check of databasesAreValid, keeping which file failed it for the message.
    const auto check = copiesUsable_ ? BooksStoreReader::checkTables({annotationSQLFile_, librarySQLFile_})
                                     : BooksStoreReader::TableCheck{};
    if (!check.annotationsFound || !check.libraryFound) {
        if (copying) {
            std::string files;
            if (!check.annotationsFound) files = pairing.annotationSQLFile->filename().native();
            if (!check.libraryFound)
                files += (files.empty() ? "" : ", ") + pairing.librarySQLFile->filename().native();
            lastLoadProblem_ = "These files are not Apple Books databases: " + files;
        }
        return false;
    }
    recentMayBeMissing_ = copying && (BooksWorkingCopy::lacksItsLog(*pairing.annotationSQLFile) ||
                                      BooksWorkingCopy::lacksItsLog(*pairing.librarySQLFile));
    setFilteredWorks({});
    Work::release(works_);
    works_ = loadWorks();
    setFilteredWorks(works_);
    loadAnnotations();
    return true;
}

bool DataManager::copyDatabases(const SQLFilePairing& pairing) {
    const std::string working = corvane::Corvane::appDocumentsPath();
    if (!pairing.annotationSQLFile || !pairing.librarySQLFile) return false;
    if (working.empty()) {
        lastLoadProblem_ = "Unable to copy the databases: the application has no data folder";
        corvane::Report::line(lastLoadProblem_);
        return false;
    }
    const SQLFilePairing copies = BooksWorkingCopy::pathsFor(pairing, working);
    annotationSQLFile_ = copies.annotationSQLFile;
    librarySQLFile_ = copies.librarySQLFile;
    copiesUsable_ = BooksWorkingCopy::copy(pairing, copies, lastLoadProblem_);
    return copiesUsable_;
}

bool DataManager::databasesAreValid() {
    if (!copiesUsable_) return false;
    return BooksStoreReader::holdsBooksTables({annotationSQLFile_, librarySQLFile_});
}

std::vector<WorkPtr> DataManager::loadWorks() {
    std::vector<WorkPtr> loaded;
    if (librarySQLFile_) loaded = BooksStoreReader::readWorks(*librarySQLFile_);
    works_ = loaded;
    return loaded;
}

void DataManager::loadAnnotations() {
    if (!annotationSQLFile_) return;
    BooksStoreReader::readAnnotations(*annotationSQLFile_, works_);
}

void DataManager::applyHideRule(bool hideWorksWithNoAnnotations) {
    if (!hideWorksWithNoAnnotations) {
        setFilteredWorks(works_);
        return;
    }
    std::vector<WorkPtr> shown;
    for (const auto& work : works_) {
        if (!work->annotations.empty()) shown.push_back(work);
    }
    setFilteredWorks(std::move(shown));
}

bool DataManager::exportMarkdown(const Work& work, AnnotationOrder::Order order, bool detailed) {
    lastExportProblem_.clear();
    if (work.annotations.empty()) return false;
    const auto downloads = corvane::Corvane::userDownloadsPath();
    if (!downloads) {
        lastExportProblem_ = "no Downloads folder is known";
        corvane::Report::line("Unable to export: no Downloads folder is known");
        return false;
    }
    std::error_code ec;
    fs::create_directories(*downloads, ec);
    return exportMarkdownTo(work, *downloads, 1, std::nullopt, order, detailed).has_value();
}

std::optional<fs::path> DataManager::exportMarkdownTo(const Work& work, const fs::path& folder,
                                                      int copyNumber, const std::optional<std::string>& date,
                                                      AnnotationOrder::Order order, bool detailed) {
    if (work.annotations.empty()) return std::nullopt;
    fs::path path = folder / MarkdownExport::fileName(work.workTitle,
                                                      date ? *date : corvane::Corvane::dateNow(), copyNumber);
    const std::string text = BulkExport::text(work, {order, detailed});
    lastExportProblem_.clear();
    if (!corvane::Corvane::saveContentsToPath(text, path, &lastExportProblem_)) return std::nullopt;
    lastExportPath_ = path;
    return path;
}

void DataManager::setFilteredWorks(std::vector<WorkPtr> works) {
    notify(Change::WillAssign);
    // A list of its own (the library's, shown whole) goes as a load's does, in address order.
    Work::release(filteredWorks_);
    filteredWorks_ = std::move(works);
    notify(Change::DidAssign);
}

DataManager::ObserverId DataManager::addFilteredWorksObserver(Observer observer) {
    const ObserverId id = nextObserverId_++;
    observers_.emplace_back(id, std::move(observer));
    return id;
}

void DataManager::removeFilteredWorksObserver(ObserverId id) {
    std::erase_if(observers_, [id](const auto& entry) { return entry.first == id; });
}

void DataManager::notify(Change change) {
    // A copy, so that an observer may add or remove observers while being told.
    const auto observers = observers_;
    for (const auto& [id, observer] : observers)
        observer(change);
}

} // namespace notara
