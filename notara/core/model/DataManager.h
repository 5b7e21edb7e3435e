#pragma once

#include "notara/core/model/AnnotationOrder.h"
#include "notara/core/model/Work.h"
#include "notara/core/sources/books/SQLFilePairing.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace notara {

/// The application's model: finds, copies and loads the Apple Books databases, owns the
/// works, publishes the list the window shows and exports a work as Markdown.
///
/// Publishing: only filteredWorks is observed. Observers registered with
/// addFilteredWorksObserver are plain callbacks (no Qt signals, so the model needs no
/// event loop and no widgets): each assignment calls every observer with
/// Change::WillAssign before the list changes and with Change::DidAssign after it.
/// Assigning works or the file paths, and appending to a Work's annotations, notify nobody.
/// Everything runs on one thread; callbacks run synchronously inside the assignment.
class DataManager {
public:
    enum class Change { WillAssign, DidAssign };
    using Observer = std::function<void(Change)>;
    using ObserverId = std::uint64_t;

    DataManager() = default;
    ~DataManager();
    DataManager(const DataManager&) = delete;
    DataManager& operator=(const DataManager&) = delete;

    /// The one instance of the application, created on first use (thread-safe).
    static DataManager& shared();

    /// The first regular file with the extension "sqlite" (exactly, case-sensitive) found by
    /// a recursive, unsorted walk of folder/subPath that skips hidden entries; absent when
    /// the folder does not exist or holds none. Companions (-wal, -shm) never match.
    static std::optional<std::filesystem::path> findSQLiteFile(const std::filesystem::path& folder,
                                                               std::string_view subPath);

    /// Copies the pair into the working folder when both are present, checks the working
    /// copies and, when they hold the Books tables, replaces every work with new objects
    /// (sorted by title) and loads their annotations. When the check fails nothing changes
    /// and the result is false. The caller applies the hide rule afterwards.
    bool loadDatabases(const SQLFilePairing& pairing);

    /// Copies both files (each with its -wal companion, when there is one) into
    /// Corvane::appDocumentsPath(), replacing earlier copies and their -wal/-shm, and points
    /// annotationSQLFile/librarySQLFile at the copies. The user's files are never opened.
    /// Does nothing unless both are present; the first failure ends it with a report line
    /// and lastLoadProblem(), and the copies count as invalid until the next copy succeeds.
    bool copyDatabases(const SQLFilePairing& pairing);

    /// Whether the working copies hold ZAEANNOTATION and ZBKLIBRARYASSET (false after a
    /// failed copy).
    bool databasesAreValid();

    /// Why the last loadDatabases loaded nothing (copies that failed, files that are not
    /// Books databases); empty when it loaded or had nothing new to copy.
    const std::string& lastLoadProblem() const { return lastLoadProblem_; }

    /// Whether the last successful load read a store copied without its -wal file.
    bool recentHighlightsMayBeMissing() const { return recentMayBeMissing_; }
    static constexpr const char* missingLogMessage =
        "Recent highlights may be missing: the Books databases were copied without their -wal files. Copy "
        "the "
        "whole Data folder from the Mac, including the files ending in -wal and -shm.";

    /// The file the last export wrote, and the system's reason when the last one failed.
    const std::optional<std::filesystem::path>& lastExportPath() const { return lastExportPath_; }
    const std::string& lastExportProblem() const { return lastExportProblem_; }

    /// Every row of ZBKLIBRARYASSET in the library copy as a new Work, sorted by title
    /// (code points after canonical normalisation, case-sensitive, stable). Also stored in
    /// works().
    std::vector<WorkPtr> loadWorks();

    /// Appends to each work of works() its live highlights (rows with its asset id and
    /// non-empty selected text that are not marked deleted), in row order, with context.
    void loadAnnotations();

    /// Applies the hide rule: filteredWorks becomes the works with at least one annotation
    /// (in works() order) when `hideWorksWithNoAnnotations`, else all of works().
    void applyHideRule(bool hideWorksWithNoAnnotations);

    /// Writes the work's Markdown into the Downloads folder as
    /// "<yyyy-MM-dd>-<title>-Annotations.md". False when the work has no annotations
    /// (nothing is written) or the file could not be written (with a report line).
    bool exportMarkdown(const Work& work, AnnotationOrder::Order order = AnnotationOrder::Order::Stored,
                        bool detailed = false);

    /// The same into `folder`; `copyNumber` > 1 inserts " (n)" before "-Annotations.md" and
    /// `date` replaces today's date in the name (a bulk export names all its files with one
    /// date). Returns the path written, or absent as exportMarkdown returns false.
    std::optional<std::filesystem::path>
    exportMarkdownTo(const Work& work, const std::filesystem::path& folder, int copyNumber = 1,
                     const std::optional<std::string>& date = std::nullopt,
                     AnnotationOrder::Order order = AnnotationOrder::Order::Stored, bool detailed = false);

    const std::vector<WorkPtr>& works() const { return works_; }
    void setWorks(std::vector<WorkPtr> works) { works_ = std::move(works); }

    const std::vector<WorkPtr>& filteredWorks() const { return filteredWorks_; }
    /// Notifies observers (WillAssign, then DidAssign).
    void setFilteredWorks(std::vector<WorkPtr> works);

    ObserverId addFilteredWorksObserver(Observer observer);
    void removeFilteredWorksObserver(ObserverId id);

    /// The working copies of the last copyDatabases.
    const std::optional<std::filesystem::path>& annotationSQLFile() const { return annotationSQLFile_; }
    const std::optional<std::filesystem::path>& librarySQLFile() const { return librarySQLFile_; }

private:
    void notify(Change change);

    std::optional<std::filesystem::path> annotationSQLFile_;
    std::optional<std::filesystem::path> librarySQLFile_;
    bool copiesUsable_ = true;
    bool recentMayBeMissing_ = false;
    std::string lastLoadProblem_;
    std::optional<std::filesystem::path> lastExportPath_;
    std::string lastExportProblem_;
    std::vector<WorkPtr> works_;
    std::vector<WorkPtr> filteredWorks_;
    std::vector<std::pair<ObserverId, Observer>> observers_;
    ObserverId nextObserverId_ = 1;
};

} // namespace notara
