#pragma once

#include "notara/core/model/Work.h"
#include "notara/core/sources/Source.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct sqlite3;

namespace notara {

/// The reader's library: every source they added, with its works and annotations, in one
/// SQLite file of Notara's own. Each change is one transaction, so a process killed in the
/// middle leaves the library as it was. Other processes may use the file at the same time
/// (WAL, a busy timeout); a file written by a newer Notara is opened read-only, and a damaged
/// one is never replaced or deleted.
class Library {
public:
    /// The schema this build writes; older files are migrated forward (after a copy is kept).
    static constexpr int schemaVersion = 4;

    /// What adding a source did to its annotations.
    struct Counts {
        std::size_t added = 0;
        std::size_t changed = 0;
        std::size_t removed = 0;
        std::size_t unchanged = 0;
        /// "N new, N changed, N removed at source, N unchanged".
        std::string text() const;
    };

    struct SourceInfo {
        long long id = 0;
        SourceKind kind = SourceKind::Books;
        std::string key;
        std::string name;
        std::string place;
        std::string added;
        std::string lastRead;
        std::size_t works = 0;
        std::size_t annotations = 0;
    };

    /// library.sqlite in the window's data folder (also for the command line); empty when there
    /// is none.
    static std::filesystem::path defaultPath();

    /// Opens `file`, creating it (and its folder) when missing. Null with a sentence naming the
    /// file in `problem` when it cannot be opened or is damaged. A Library is used by one thread
    /// at a time; a thread of its own opens its own.
    static std::unique_ptr<Library> open(const std::filesystem::path& file, std::string& problem);

    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    const std::filesystem::path& file() const { return file_; }
    /// True for a file of a newer schema; `notice` says so in a sentence.
    bool readOnly() const { return readOnly_; }
    const std::string& notice() const { return notice_; }
    /// The path of the copy kept before the last migration, if one ran.
    const std::optional<std::filesystem::path>& migrationBackup() const { return backup_; }

    /// Called now and then while adding, with the annotations done and their total; returning
    /// false cancels the add, which then changes nothing.
    using Progress = std::function<bool(std::size_t done, std::size_t total)>;

    /// Merges a successful read into the library in one transaction. False with `problem` (and
    /// nothing changed) when the read failed, the library is read-only or the write failed.
    bool add(const SourceRead& read, Counts& counts, std::string& problem, const Progress& progress = {});

    /// For a source found without reading it: when the library holds it and its files are
    /// byte for byte as at its last add, notes only when and where it was seen, counts what it
    /// lists as unchanged and returns true. False (and nothing written) when it must be read.
    bool keepIfUnchanged(SourceKind kind, const SourceProbe& probe, const std::filesystem::path& place,
                         Counts& counts);

    /// Every kept work with its annotations, sorted by title; each work names its sources and
    /// each annotation carries its AnnotationInLibrary. Works whose every annotation is
    /// removed at source are kept; `hideRemoved` leaves such annotations out.
    std::vector<WorkPtr> works(bool hideRemoved = false) const;

    std::vector<SourceInfo> sources() const;
    /// The source with `id`, or whose name or key is `nameOrKey`.
    std::optional<SourceInfo> findSource(const std::string& idNameOrKey) const;
    /// How many annotations forgetting the source would take out of the library (those no
    /// other source lists).
    std::size_t annotationsOnlyFrom(long long sourceID) const;
    /// Takes the source and what only it contributed out of the library.
    bool forget(long long sourceID, std::string& problem);

    /// The reader's marks, by the annotation's key.
    bool setFavourite(const std::string& annotationKey, bool favourite, std::string& problem);
    bool setTags(const std::string& annotationKey, std::vector<std::string> tags, std::string& problem);

    /// What a sync last wrote into a notes folder: per work (its library id) a hash of what its
    /// file held of Notara's, per annotation (its key's hash) a hash of its block as written.
    struct SyncState {
        std::unordered_map<std::string, std::int64_t> files;
        std::unordered_map<std::int64_t, std::int64_t> blocks;
    };
    SyncState syncState(const std::string& folder) const;
    /// Records (adds to or replaces) what a sync wrote, in one transaction.
    bool recordSync(const std::string& folder, const SyncState& written, std::string& problem);
    /// The hash by which the library knows an annotation's key.
    static std::int64_t annotationKeyHash(std::string_view annotationKey);

private:
    Library() = default;
    bool prepare(std::string& problem);
    bool migrate(int from, std::string& problem);
    bool exec(const char* sql, std::string& problem) const;
    // Says that a transaction could not begin or commit; false.
    bool unchanged(std::string& problem) const;

    sqlite3* db_ = nullptr;
    std::filesystem::path file_;
    bool readOnly_ = false;
    std::string notice_;
    std::optional<std::filesystem::path> backup_;
};

} // namespace notara
