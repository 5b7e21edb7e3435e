#include "notara/core/library/Library.h"

#include "notara/core/library/RowHandoff.h"
#include "notara/core/library/Statement.h"
#include "notara/core/model/ContentHash.h"
#include "notara/core/model/IsoDate.h"
#include "notara/core/sources/SourceKeys.h"
#include "notara/core/sources/Sources.h"

#include <QStandardPaths>
#include <QUuid>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <exception>
#include <map>
#include <set>
#include <thread>
#include <unordered_map>
#include <unordered_set>

namespace fs = std::filesystem;

namespace notara {

namespace {

// Each entry takes the schema from the version before it to its own; a new file runs them all,
// so the migrations are the creation path too.
constexpr const char* migrations[] = {
    // 1: sources, works, annotations and which source lists which.
    R"sql(
    CREATE TABLE source(
        id INTEGER PRIMARY KEY,
        kind TEXT NOT NULL,
        key TEXT NOT NULL,
        name TEXT NOT NULL,
        place TEXT NOT NULL,
        added TEXT NOT NULL,
        last_read TEXT NOT NULL,
        fingerprint INTEGER NOT NULL,
        UNIQUE(kind, key));
    CREATE TABLE work(
        id INTEGER PRIMARY KEY,
        uid TEXT NOT NULL UNIQUE,
        match_key TEXT NOT NULL,
        title TEXT NOT NULL,
        author TEXT NOT NULL,
        first_seen INTEGER NOT NULL);
    CREATE INDEX work_by_match_key ON work(match_key);
    CREATE TABLE work_source(
        source_id INTEGER NOT NULL REFERENCES source(id) ON DELETE CASCADE,
        key TEXT NOT NULL,
        work_id INTEGER NOT NULL REFERENCES work(id) ON DELETE CASCADE,
        asset_id TEXT NOT NULL,
        downloaded TEXT NOT NULL,
        origin TEXT NOT NULL,
        PRIMARY KEY(source_id, key)) WITHOUT ROWID;
    CREATE INDEX work_source_by_work ON work_source(work_id);
    -- key_hash identifies the annotation across sources; key_text is the key itself unless it is
    -- the source's row id with its kind in front (key_form 1 "books:", 2 "kobo:").
    CREATE TABLE annotation(
        id INTEGER PRIMARY KEY,
        work_id INTEGER NOT NULL REFERENCES work(id) ON DELETE CASCADE,
        key_hash INTEGER NOT NULL UNIQUE,
        key_form INTEGER NOT NULL,
        key_text TEXT,
        original_id TEXT NOT NULL,
        kind INTEGER NOT NULL,
        selected TEXT NOT NULL,
        representative TEXT,
        note TEXT NOT NULL,
        location_raw TEXT NOT NULL,
        color TEXT NOT NULL,
        chapter TEXT NOT NULL,
        page TEXT NOT NULL,
        location INTEGER,
        created TEXT NOT NULL,
        modified TEXT NOT NULL,
        position BLOB NOT NULL,
        spine INTEGER,
        first_seen INTEGER NOT NULL);
    CREATE INDEX annotation_by_work ON annotation(work_id);
    CREATE TABLE annotation_source(
        annotation_id INTEGER NOT NULL REFERENCES annotation(id) ON DELETE CASCADE,
        source_id INTEGER NOT NULL REFERENCES source(id) ON DELETE CASCADE,
        content_hash INTEGER NOT NULL,
        removed_at TEXT,
        PRIMARY KEY(annotation_id, source_id)) WITHOUT ROWID;
    )sql",
    // 2: the reader's own marks.
    R"sql(
    ALTER TABLE annotation ADD COLUMN favourite INTEGER NOT NULL DEFAULT 0;
    CREATE TABLE annotation_tag(
        annotation_id INTEGER NOT NULL REFERENCES annotation(id) ON DELETE CASCADE,
        tag TEXT NOT NULL,
        PRIMARY KEY(annotation_id, tag)) WITHOUT ROWID;
    )sql",
    // 3: what the last sync to each notes folder wrote, to tell the reader's edits from Notara's.
    R"sql(
    CREATE TABLE sync_file(
        folder TEXT NOT NULL,
        work_uid TEXT NOT NULL,
        content_hash INTEGER NOT NULL,
        PRIMARY KEY(folder, work_uid)) WITHOUT ROWID;
    CREATE TABLE sync_block(
        folder TEXT NOT NULL,
        annotation_key INTEGER NOT NULL,
        block_hash INTEGER NOT NULL,
        PRIMARY KEY(folder, annotation_key)) WITHOUT ROWID;
    )sql",
    // 4: a hash of the source's files, so that an unchanged source need not be read again.
    R"sql(
    ALTER TABLE source ADD COLUMN files_fingerprint INTEGER NOT NULL DEFAULT 0;
    )sql",
};
static_assert(std::size(migrations) == Library::schemaVersion);

std::string now() {
    return IsoDate::fromUnixSeconds(static_cast<double>(std::time(nullptr))).str();
}

// The stored form of an annotation's key: its hash, and the text only where the row id and kind
// do not give it back.
struct StoredKey {
    std::int64_t hash;
    int form;
    std::string_view text;
};

std::int64_t keyHash(std::string_view key) {
    return static_cast<std::int64_t>(ContentHash().add(key).value());
}

// The stored forms are those of Annotation::KeyForm.
constexpr int storedForms = static_cast<int>(Annotation::KeyForm::Kobo) + 1;

StoredKey storedKey(const Annotation& annotation) {
    if (annotation.annotationKeyForm != Annotation::KeyForm::Spelled)
        return {annotation.withKey(keyHash), static_cast<int>(annotation.annotationKeyForm), {}};
    const std::string_view key = annotation.annotationKey;
    const std::string_view originalID = annotation.annotationID;
    StoredKey stored{keyHash(key), 0, key};
    for (int form = 1; form < storedForms; ++form) {
        const std::string_view prefix = Annotation::keyPrefix(static_cast<Annotation::KeyForm>(form));
        if (key.size() == prefix.size() + originalID.size() && key.starts_with(prefix) &&
            key.substr(prefix.size()) == originalID) {
            stored.form = form;
            stored.text = {};
        }
    }
    return stored;
}

std::string quoted(const fs::path& file) {
    std::string text;
    text.reserve(file.native().size() + 2);
    text.append(1, '"').append(file.native()).append(1, '"');
    return text;
}

// Rolls back unless committed, so that every early return leaves the library as it was.
class Transaction {
public:
    explicit Transaction(sqlite3* db) : db_(db) {
        began_ = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~Transaction() {
        if (began_ && !done_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    bool began() const { return began_; }
    bool commit() {
        done_ = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
        return done_;
    }

private:
    sqlite3* db_;
    bool began_ = false;
    bool done_ = false;
};

// One snapshot of the file for a whole listing, though another process may add meanwhile; and,
// as every page is read once and in order, next to no page cache for its length.
class ReadTransaction {
public:
    explicit ReadTransaction(sqlite3* db) : db_(db) {
        Statement size(db_, "PRAGMA cache_size");
        if (size.step()) cacheSize_ = size.integer(0);
        sqlite3_exec(db_, "PRAGMA cache_size=-64", nullptr, nullptr, nullptr);
        began_ = sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~ReadTransaction() {
        if (began_) sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        const std::string restore = "PRAGMA cache_size=" + std::to_string(cacheSize_);
        sqlite3_exec(db_, restore.c_str(), nullptr, nullptr, nullptr);
    }

private:
    sqlite3* db_;
    std::int64_t cacheSize_ = -2000;
    bool began_ = false;
};

// One annotation row as the thread that reads the library hands it on: its numbers, then the
// bytes of its texts, the whole rounded up to eight bytes.
struct PackedRow {
    static constexpr int texts = 12;
    enum Flag : std::uint8_t {
        hasLocation = 1,
        hasSpine = 2,
        favourite = 4,
        sameRepresentative = 8,
        linked = 16,
        listed = 32,
    };
    static std::size_t rounded(std::size_t bytes) { return (bytes + 7) & ~std::size_t{7}; }

    std::int64_t id;
    std::int64_t workID;
    std::int64_t keyForm;
    std::int64_t location;
    std::uint64_t sources;
    const std::string* removedAt;
    std::int32_t spine;
    std::int32_t kind;
    std::uint32_t lengths[texts];
    std::uint8_t flags;
};

// The values `values` holds more than once.
template <class T> std::unordered_set<T> repeatedIn(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    std::unordered_set<T> repeated;
    for (std::size_t i = 1; i < values.size(); ++i)
        if (values[i] == values[i - 1]) repeated.insert(values[i]);
    return repeated;
}

std::int64_t asStored(std::uint64_t hash) {
    return static_cast<std::int64_t>(hash);
}

} // namespace

std::string Library::Counts::text() const {
    return std::to_string(added) + " new, " + std::to_string(changed) + " changed, " +
           std::to_string(removed) + " removed at source, " + std::to_string(unchanged) + " unchanged";
}

fs::path Library::defaultPath() {
    // The window's data folder, whichever program asks: the command line has a name of its own,
    // and so a data folder of its own, but the library is one.
    const QString generic = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return generic.isEmpty() ? fs::path()
                             : fs::path(generic.toStdString()) / "Notara" / "Notara" / "library.sqlite";
}

Library::~Library() {
    sqlite3_close(db_);
}

bool Library::unchanged(std::string& problem) const {
    problem = "The library " + quoted(file_) + " could not be changed (" + sqlite3_errmsg(db_) +
              "); it is left as it was.";
    return false;
}

bool Library::exec(const char* sql, std::string& problem) const {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
    problem = "The library " + quoted(file_) + " could not be changed (" +
              (message ? std::string(message) : std::string(sqlite3_errmsg(db_))) + ").";
    sqlite3_free(message);
    return false;
}

std::unique_ptr<Library> Library::open(const fs::path& file, std::string& problem) {
    std::unique_ptr<Library> library(new Library());
    library->file_ = file;
    if (file.empty()) {
        problem = "There is no data folder for the library.";
        return nullptr;
    }
    std::error_code ec;
    if (file.has_parent_path()) fs::create_directories(file.parent_path(), ec);
    // Each thread opens its own Library and no connection is shared between threads, so SQLite's
    // per-call locking is not needed; without it listing the library is about a quarter faster.
    if (sqlite3_open_v2(file.c_str(), &library->db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        problem =
            "The library " + quoted(file) + " could not be opened (" + sqlite3_errmsg(library->db_) + ").";
        return nullptr;
    }
    if (!library->prepare(problem)) return nullptr;
    return library;
}

bool Library::prepare(std::string& problem) {
    // Another process (the command line beside the window) may be writing: wait for it.
    sqlite3_busy_timeout(db_, 10000);
    const auto damaged = [&] {
        problem = "The library " + quoted(file_) + " is damaged or is not a Notara library (" +
                  sqlite3_errmsg(db_) +
                  "). Notara has left it as it is; move it away to start a new library.";
        return false;
    };
    int version = 0;
    int tables = 0;
    {
        Statement read(db_, "PRAGMA user_version");
        if (!read || !read.step()) return damaged();
        version = static_cast<int>(read.integer(0));
        Statement count(db_, "SELECT count(*) FROM sqlite_master");
        if (!count || !count.step()) return damaged();
        tables = static_cast<int>(count.integer(0));
    }
    if (version > schemaVersion) {
        // A newer Notara wrote it: read what this one understands and never write.
        sqlite3_close(db_);
        db_ = nullptr;
        if (sqlite3_open_v2(file_.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            return damaged();
        sqlite3_busy_timeout(db_, 10000);
        readOnly_ = true;
        notice_ = "The library " + quoted(file_) +
                  " was written by a newer version of Notara; it is open read-only and will not be changed.";
        return true;
    }
    if (version == 0 && tables > 0) return damaged();
    std::string ignored;
    exec("PRAGMA journal_mode=WAL", ignored);
    exec("PRAGMA synchronous=NORMAL", ignored);
    exec("PRAGMA foreign_keys=ON", ignored);

    if (version == schemaVersion) return true;
    if (version > 0) {
        // Keep the file as it was before changing its layout.
        const fs::path copy = file_.string() + ".v" + std::to_string(version) + ".backup";
        std::error_code ec;
        fs::remove(copy, ec);
        Statement vacuum(db_, "VACUUM INTO ?1");
        if (!vacuum || !vacuum.bind(1, copy.string()).run()) {
            problem = "The library " + quoted(file_) + " could not be copied before its update (" +
                      sqlite3_errmsg(db_) + "); it is left as it was.";
            return false;
        }
        backup_ = copy;
    }
    return migrate(version, problem);
}

bool Library::migrate(int from, std::string& problem) {
    Transaction transaction(db_);
    if (!transaction.began()) return unchanged(problem);
    for (int version = from; version < schemaVersion; ++version)
        if (!exec(migrations[version], problem)) return false;
    const std::string setVersion = "PRAGMA user_version=" + std::to_string(schemaVersion);
    if (!exec(setVersion.c_str(), problem)) return false;
    if (!transaction.commit()) return unchanged(problem);
    return true;
}

bool Library::add(const SourceRead& read, Counts& counts, std::string& problem, const Progress& progress) {
    counts = {};
    if (!read.ok()) {
        problem = read.problem;
        return false;
    }
    if (readOnly_) {
        problem = notice_;
        return false;
    }
    const std::string when = now();
    const std::int64_t seconds = static_cast<std::int64_t>(std::time(nullptr));
    const std::string kindName(Sources::of(read.kind).name);
    Transaction transaction(db_);
    if (!transaction.began()) return unchanged(problem);
    const auto failed = [&](const Statement& statement) {
        problem = "The library " + quoted(file_) + " could not be changed (" + statement.error() +
                  "); it is left as it was.";
        return false;
    };
    std::size_t total = 0;
    for (const WorkPtr& work : read.works)
        total += work->annotations.size();

    std::int64_t sourceID = 0;
    {
        Statement find(db_, "SELECT id, fingerprint FROM source WHERE kind = ?1 AND key = ?2");
        find.bind(1, kindName).bind(2, read.key);
        if (find.step()) {
            sourceID = find.integer(0);
            if (find.integer(1) == asStored(read.fingerprint)) {
                // Nothing it lists has changed: only when it was seen, and where.
                Statement seen(db_, "UPDATE source SET last_read = ?1, place = ?2, files_fingerprint = ?4 "
                                    "WHERE id = ?3");
                seen.bind(1, when).bind(2, read.place.string()).bind(3, sourceID);
                if (!seen.bind(4, asStored(read.filesFingerprint)).run()) return failed(seen);
                if (!transaction.commit()) return unchanged(problem);
                counts.unchanged = total;
                return true;
            }
        } else if (find.failed()) {
            return failed(find);
        }
    }
    if (sourceID == 0) {
        // Two devices of one kind are told apart by their names too: "Kobo", "Kobo (2)".
        std::string name = read.name;
        Statement taken(db_, "SELECT 1 FROM source WHERE name = ?1");
        for (int copy = 2; taken.bind(1, name).step(); ++copy) {
            taken.reset();
            name = read.name + " (" + std::to_string(copy) + ")";
        }
        Statement insert(db_, "INSERT INTO source(kind, key, name, place, added, last_read, fingerprint) "
                              "VALUES (?1, ?2, ?3, ?4, ?5, ?5, 0)");
        insert.bind(1, kindName).bind(2, read.key).bind(3, name).bind(4, read.place.string()).bind(5, when);
        if (!insert.run()) return failed(insert);
        sourceID = sqlite3_last_insert_rowid(db_);
    }

    // What this source listed before.
    std::unordered_map<std::string, std::int64_t> knownWorks;
    {
        Statement works(db_, "SELECT key, work_id FROM work_source WHERE source_id = ?1");
        works.bind(1, sourceID);
        while (works.step())
            knownWorks.emplace(works.text(0), works.integer(1));
    }
    struct Listed {
        std::int64_t annotationID;
        std::int64_t hash;
        bool removed;
        bool seen = false;
    };
    std::unordered_map<std::int64_t, Listed> listed;
    {
        Statement annotations(db_, "SELECT a.key_hash, a.id, s.content_hash, s.removed_at IS NOT NULL "
                                   "FROM annotation_source s JOIN annotation a ON a.id = s.annotation_id "
                                   "WHERE s.source_id = ?1");
        annotations.bind(1, sourceID);
        while (annotations.step())
            listed.emplace(annotations.integer(0), Listed{annotations.integer(1), annotations.integer(2),
                                                          annotations.integer(3) != 0});
    }
    // Keys the read lists more than once (a damaged store): the later ones must find the first
    // in `listed`. Only those are added to it, which spares a map entry per new annotation.
    // The same for works.
    std::unordered_set<std::int64_t> repeated;
    std::unordered_set<std::string_view> repeatedWorks;
    {
        std::vector<std::int64_t> keys;
        keys.reserve(total);
        std::vector<std::string_view> workKeys;
        workKeys.reserve(read.works.size());
        for (const WorkPtr& work : read.works) {
            workKeys.emplace_back(work->key());
            for (const AnnotationPtr& annotation : work->annotations)
                keys.push_back(storedKey(*annotation).hash);
        }
        repeated = repeatedIn(std::move(keys));
        repeatedWorks = repeatedIn(std::move(workKeys));
    }
    bool libraryEmpty = false;
    {
        Statement any(db_, "SELECT NOT EXISTS (SELECT 1 FROM annotation)");
        libraryEmpty = any.step() && any.integer(0) != 0;
    }

    Statement workByMatch(db_, "SELECT id FROM work WHERE match_key = ?1 ORDER BY id LIMIT 1");
    Statement insertWork(
        db_, "INSERT INTO work(uid, match_key, title, author, first_seen) VALUES (?1, ?2, ?3, ?4, ?5)");
    Statement linkWork(
        db_, "INSERT OR REPLACE INTO work_source(source_id, key, work_id, asset_id, downloaded, origin) "
             "VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    Statement byKey(db_, "SELECT id FROM annotation WHERE key_hash = ?1");
    Statement insertAnnotation(
        db_,
        "INSERT INTO annotation(work_id, key_hash, key_form, key_text, original_id, kind, selected, "
        "representative, note, location_raw, color, chapter, page, location, created, modified, position, "
        "spine, first_seen) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19)");
    Statement updateAnnotation(
        db_,
        "UPDATE annotation SET kind = ?2, selected = ?3, representative = ?4, note = ?5, location_raw = ?6, "
        "color = ?7, chapter = ?8, page = ?9, location = ?10, created = ?11, modified = ?12, position = ?13, "
        "spine = ?14 WHERE id = ?1");
    Statement linkAnnotation(
        db_, "INSERT OR REPLACE INTO annotation_source(annotation_id, source_id, content_hash, "
             "removed_at) VALUES (?2, ?1, ?3, NULL)");
    Statement markRemoved(
        db_, "UPDATE annotation_source SET removed_at = ?3 WHERE annotation_id = ?2 AND source_id = ?1");
    for (const Statement* statement : {&workByMatch, &insertWork, &linkWork, &byKey, &insertAnnotation,
                                       &updateAnnotation, &linkAnnotation, &markRemoved})
        if (!*statement) return failed(*statement);

    // Binds an annotation's fields from position `first` on, in the column order above.
    // The annotation outlives the run of the statement, so its texts are bound without copies.
    const auto bindContent = [](Statement& statement, int first, const Annotation& a) {
        statement.bind(first, static_cast<std::int64_t>(a.annotationKind));
        statement.bindStatic(first + 1, a.annotationSelectedText);
        if (a.annotationRepText == a.annotationSelectedText)
            statement.bindNull(first + 2); // most sources repeat the passage: keep it once
        else
            statement.bindStatic(first + 2, a.annotationRepText);
        statement.bindStatic(first + 3, a.annotationUserNotes)
            .bindStatic(first + 4, a.annotationLocationRawText);
        statement.bindStatic(first + 5, a.annotationColor).bindStatic(first + 6, a.annotationChapter);
        statement.bindStatic(first + 7, a.annotationPage).bind(first + 8, a.annotationLocation);
        statement.bindStatic(first + 9, a.annotationCreated.view())
            .bindStatic(first + 10, a.annotationModified.view());
        statement.bindBlob(first + 11, a.annotationPosition.key)
            .bind(first + 12, a.annotationPosition.spineIndex);
    };

    std::size_t done = 0;
    for (const WorkPtr& work : read.works) {
        std::int64_t workID = 0;
        if (const auto known = knownWorks.find(work->key()); known != knownWorks.end()) {
            workID = known->second;
        } else {
            const std::string matchKey = SourceKeys::workMatchKey(work->workTitle, work->workAuthor);
            if (workByMatch.bind(1, matchKey).step()) workID = workByMatch.integer(0);
            workByMatch.reset();
            if (workID == 0) {
                const std::string uid =
                    QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper().toStdString();
                insertWork.bind(1, uid).bind(2, matchKey).bind(3, work->workTitle).bind(4, work->workAuthor);
                if (!insertWork.bind(5, seconds).run()) return failed(insertWork);
                workID = sqlite3_last_insert_rowid(db_);
            }
            linkWork.bind(1, sourceID).bind(2, work->key()).bind(3, workID).bind(4, work->workID);
            if (!linkWork.bind(5, work->downloadedStatus).bind(6, work->workSource).run())
                return failed(linkWork);
            if (repeatedWorks.contains(work->key())) knownWorks.emplace(work->key(), workID);
        }
        for (const AnnotationPtr& annotation : work->annotations) {
            const std::int64_t hash = asStored(SourceKeys::contentHash(*annotation));
            const StoredKey key = storedKey(*annotation);
            if (const auto known = listed.find(key.hash); known != listed.end()) {
                Listed& entry = known->second;
                entry.seen = true;
                if (entry.hash == hash && !entry.removed) {
                    ++counts.unchanged;
                } else {
                    if (entry.hash != hash) {
                        updateAnnotation.bind(1, entry.annotationID);
                        bindContent(updateAnnotation, 2, *annotation);
                        if (!updateAnnotation.run()) return failed(updateAnnotation);
                    }
                    linkAnnotation.bind(1, sourceID).bind(2, entry.annotationID).bind(3, hash);
                    if (!linkAnnotation.run()) return failed(linkAnnotation);
                    ++counts.changed;
                }
            } else {
                std::int64_t annotationID = 0;
                if (!libraryEmpty) {
                    // Listed by another source already (a Kindle highlight in a notebook and in
                    // My Clippings.txt): one annotation with both sources.
                    if (byKey.bind(1, key.hash).step()) annotationID = byKey.integer(0);
                    byKey.reset();
                }
                if (annotationID == 0) {
                    // Stored order is the order rows were added in: a second source's new
                    // annotations of a work come after the first's.
                    insertAnnotation.bind(1, workID).bind(2, key.hash).bind(3, std::int64_t{key.form});
                    if (key.form == 0)
                        insertAnnotation.bind(4, key.text);
                    else
                        insertAnnotation.bindNull(4);
                    insertAnnotation.bind(5, annotation->annotationID);
                    bindContent(insertAnnotation, 6, *annotation);
                    if (!insertAnnotation.bind(19, seconds).run()) return failed(insertAnnotation);
                    annotationID = sqlite3_last_insert_rowid(db_);
                    ++counts.added;
                } else {
                    ++counts.unchanged;
                }
                linkAnnotation.bind(1, sourceID).bind(2, annotationID).bind(3, hash);
                if (!linkAnnotation.run()) return failed(linkAnnotation);
                if (repeated.contains(key.hash))
                    listed.emplace(key.hash, Listed{annotationID, hash, false, true});
            }
            if (progress && (++done % 4096 == 0) && !progress(done, total)) {
                problem = "Adding was cancelled; the library is as it was.";
                return false;
            }
        }
    }
    for (const auto& [key, entry] : listed) {
        if (entry.seen || entry.removed) continue;
        if (!markRemoved.bind(1, sourceID).bind(2, entry.annotationID).bind(3, when).run())
            return failed(markRemoved);
        ++counts.removed;
    }
    Statement finish(db_,
                     "UPDATE source SET fingerprint = ?1, last_read = ?2, place = ?3, files_fingerprint = ?5 "
                     "WHERE id = ?4");
    finish.bind(1, asStored(read.fingerprint)).bind(2, when).bind(3, read.place.string());
    if (!finish.bind(4, sourceID).bind(5, asStored(read.filesFingerprint)).run()) return failed(finish);
    if (progress) progress(total, total);
    if (!transaction.commit()) return unchanged(problem);
    return true;
}

bool Library::keepIfUnchanged(SourceKind kind, const SourceProbe& probe, const fs::path& place,
                              Counts& counts) {
    counts = {};
    if (readOnly_ || probe.filesFingerprint == 0) return false;
    Transaction transaction(db_);
    if (!transaction.began()) return false;
    Statement find(db_, "SELECT id FROM source WHERE kind = ?1 AND key = ?2 AND files_fingerprint = ?3");
    find.bind(1, std::string(Sources::of(kind).name))
        .bind(2, probe.key)
        .bind(3, asStored(probe.filesFingerprint));
    if (!find.step()) return false;
    const std::int64_t sourceID = find.integer(0);
    Statement listed(db_,
                     "SELECT count(*) FROM annotation_source WHERE source_id = ?1 AND removed_at IS NULL");
    if (!listed.bind(1, sourceID).step()) return false;
    counts.unchanged = static_cast<std::size_t>(listed.integer(0));
    Statement seen(db_, "UPDATE source SET last_read = ?1, place = ?2 WHERE id = ?3");
    if (!seen.bind(1, now()).bind(2, place.string()).bind(3, sourceID).run()) return false;
    return transaction.commit();
}

std::vector<WorkPtr> Library::works(bool hideRemoved) const {
    const ReadTransaction reading(db_);
    // Sources by id, numbered 0, 1, … for the sets of sources below.
    std::unordered_map<std::int64_t, std::size_t> sourceIndex;
    std::vector<std::string> sourceNames;
    std::vector<std::string> sourceSeen;
    {
        Statement sources(db_, "SELECT id, name, last_read FROM source ORDER BY id");
        while (sources.step()) {
            sourceIndex.emplace(sources.integer(0), sourceNames.size());
            sourceNames.emplace_back(sources.text(1));
            sourceSeen.emplace_back(sources.text(2));
        }
    }
    std::unordered_map<std::int64_t, WorkPtr> byID;
    std::vector<WorkPtr> works;
    {
        Statement rows(db_, "SELECT id, title, author, uid FROM work ORDER BY id");
        while (rows.step()) {
            auto work =
                std::make_shared<Work>(std::string(rows.text(1)), std::string(rows.text(2)),
                                       QUuid::fromString(QString::fromUtf8(
                                           rows.text(3).data(), static_cast<int>(rows.text(3).size()))));
            byID.emplace(rows.integer(0), work);
            works.push_back(std::move(work));
        }
    }
    {
        // In the table's own order, which is by source: each work still meets its sources in the
        // order of their ids, and no lookup per row from the index by work is needed.
        Statement links(db_, "SELECT work_id, source_id, key, asset_id, downloaded, origin FROM work_source "
                             "ORDER BY source_id, key");
        while (links.step()) {
            const auto work = byID.find(links.integer(0));
            const auto source = sourceIndex.find(links.integer(1));
            if (work == byID.end() || source == sourceIndex.end()) continue;
            Work& w = *work->second;
            const std::string& name = sourceNames[source->second];
            const bool first = w.workSources.empty(); // the first source's link gives the fields
            if (std::find(w.workSources.begin(), w.workSources.end(), name) == w.workSources.end())
                w.workSources.push_back(name);
            if (first) {
                w.workID = links.text(3);
                w.keyIsWorkID = links.text(2) == w.workID;
                if (!w.keyIsWorkID) w.workKey = links.text(2);
                w.downloadedStatus = links.text(4);
                w.workSource = links.text(5);
            }
        }
    }

    // Per annotation: the set of its sources (a bit each for the first 64, the usual case) and
    // the latest removal. Most annotations share their state, so one object serves them all.
    struct Links {
        std::uint64_t sources = 0;
        const std::string* removedAt = nullptr; // into removals; null while a source lists it
        bool listed = false;
        bool linked = false;
    };
    std::set<std::string, std::less<>> removals;
    std::unordered_map<std::int64_t, std::vector<std::string>> tags;
    {
        Statement rows(db_, "SELECT annotation_id, tag FROM annotation_tag ORDER BY annotation_id, tag");
        while (rows.step())
            tags[rows.integer(0)].emplace_back(rows.text(1));
    }
    struct StateKey {
        std::uint64_t sources;
        std::string_view removedAt; // into removals
        bool favourite;
        const std::vector<std::string>* tags;
        bool operator==(const StateKey&) const = default;
        bool operator<(const StateKey& o) const {
            if (sources != o.sources) return sources < o.sources;
            if (removedAt != o.removedAt) return removedAt < o.removedAt;
            if (favourite != o.favourite) return favourite < o.favourite;
            return tags < o.tags;
        }
    };
    std::map<StateKey, SharedConst<AnnotationInLibrary>> shared;
    // Neighbours mostly share their state: the last one found is tried before the map.
    std::optional<StateKey> lastKey;
    SharedConst<AnnotationInLibrary> lastState;
    const auto stateOf = [&](const Links& link, bool favourite, const std::vector<std::string>* tagged) {
        const bool removed = link.linked && !link.listed && link.removedAt;
        const StateKey key{link.sources, removed ? std::string_view(*link.removedAt) : "", favourite, tagged};
        if (lastKey == key) return lastState;
        auto& state = shared[key];
        if (!state) {
            AnnotationInLibrary made;
            std::string lastSeen;
            for (std::size_t i = 0; i < sourceNames.size() && i < 64; ++i) {
                if (!(link.sources >> i & 1)) continue;
                made.sources.push_back(sourceNames[i]);
                if (!removed && sourceSeen[i] > lastSeen) lastSeen = sourceSeen[i];
            }
            if (removed) {
                made.removedAtSource = DateText(key.removedAt);
                lastSeen = key.removedAt;
            }
            made.lastSeen = DateText(lastSeen);
            made.favourite = favourite;
            if (tagged) made.tags = *tagged;
            state = SharedConst<AnnotationInLibrary>(std::move(made));
        }
        lastKey = key;
        lastState = state;
        return state;
    };

    // Each work's list sized once, when its first annotation comes (from the index on work_id).
    std::unordered_map<std::int64_t, std::size_t> counts;
    {
        Statement rows(db_, "SELECT work_id, count(*) FROM annotation GROUP BY work_id");
        while (rows.step())
            counts.emplace(rows.integer(0), static_cast<std::size_t>(rows.integer(1)));
    }
    // The links come in annotation order, beside the annotations themselves.
    Statement linkRows(db_, "SELECT annotation_id, source_id, removed_at FROM annotation_source "
                            "ORDER BY annotation_id");
    bool linksLeft = linkRows.step();
    const auto linksOf = [&](std::int64_t id) {
        Links link;
        for (; linksLeft && linkRows.integer(0) <= id; linksLeft = linkRows.step()) {
            if (linkRows.integer(0) < id) continue; // of an annotation that is gone
            link.linked = true;
            const auto source = sourceIndex.find(linkRows.integer(1));
            if (source != sourceIndex.end() && source->second < 64)
                link.sources |= std::uint64_t{1} << source->second;
            if (linkRows.isNull(2)) {
                link.listed = true;
            } else if (!link.removedAt || linkRows.text(2) > std::string_view(*link.removedAt)) {
                link.removedAt = &*removals.emplace(linkRows.text(2)).first;
            }
        }
        return link;
    };
    Statement rows(
        db_, "SELECT id, work_id, key_form, key_text, original_id, kind, selected, representative, note, "
             "location_raw, color, chapter, page, location, created, modified, position, spine, "
             "favourite FROM annotation ORDER BY id");

    // The rows are read on a thread of its own (stepping SQLite is the slower half of the work)
    // while this one makes the annotations from them. Until it ends that thread alone uses the
    // connection, so the Library is still used by one thread at a time.
    RowHandoff handoff;
    std::exception_ptr readFailure;
    const auto readInto = [&] {
        constexpr int columns[PackedRow::texts] = {3, 4, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16};
        RowHandoff::Block* block = handoff.take();
        while (block && rows.step()) {
            const std::int64_t id = rows.integer(0);
            const Links link = linksOf(id);
            if (hideRemoved && link.linked && !link.listed) continue;
            PackedRow head{id,
                           rows.integer(1),
                           rows.integer(2),
                           rows.integer(13),
                           link.sources,
                           link.removedAt,
                           static_cast<std::int32_t>(rows.integer(17)),
                           static_cast<std::int32_t>(rows.integer(5)),
                           {},
                           0};
            head.flags = (rows.isNull(13) ? 0 : PackedRow::hasLocation) |
                         (rows.isNull(17) ? 0 : PackedRow::hasSpine) |
                         (rows.integer(18) != 0 ? PackedRow::favourite : 0) |
                         (rows.isNull(7) ? PackedRow::sameRepresentative : 0) |
                         (link.linked ? PackedRow::linked : 0) | (link.listed ? PackedRow::listed : 0);
            std::string_view texts[PackedRow::texts];
            std::size_t bytes = sizeof head;
            for (int i = 0; i < PackedRow::texts; ++i) {
                texts[i] = i + 1 == PackedRow::texts ? rows.blob(columns[i]) : rows.text(columns[i]);
                head.lengths[i] = static_cast<std::uint32_t>(texts[i].size());
                bytes += texts[i].size();
            }
            bytes = PackedRow::rounded(bytes);
            if (!block->empty() && block->size() + bytes > block->capacity()) {
                handoff.give(block);
                if (!(block = handoff.take())) break;
            }
            const std::size_t at = block->size();
            block->resize(at + bytes);
            char* out = block->data() + at;
            std::memcpy(out, &head, sizeof head);
            out += sizeof head;
            for (const std::string_view text : texts)
                out = std::copy(text.begin(), text.end(), out);
        }
        if (block && !block->empty()) handoff.give(block);
    };
    std::thread reader([&] {
        try {
            readInto();
        } catch (...) {
            readFailure = std::current_exception();
        }
        handoff.finish();
    });
    // Whatever ends this scope, the reading thread is stopped and joined before the rows go.
    struct Joiner {
        RowHandoff& handoff;
        std::thread& reader;
        void join() {
            handoff.stop();
            if (reader.joinable()) reader.join();
        }
        ~Joiner() { join(); }
    } joiner{handoff, reader};

    Work* current = nullptr;
    std::int64_t currentID = 0;
    while (RowHandoff::Block* block = handoff.next()) {
        for (std::size_t at = 0; at < block->size();) {
            PackedRow head;
            std::memcpy(&head, block->data() + at, sizeof head);
            std::string_view text[PackedRow::texts];
            const char* in = block->data() + at + sizeof head;
            std::size_t bytes = sizeof head;
            for (int i = 0; i < PackedRow::texts; ++i) {
                text[i] = std::string_view(in, head.lengths[i]);
                in += head.lengths[i];
                bytes += head.lengths[i];
            }
            at += PackedRow::rounded(bytes);
            if (!current || head.workID != currentID) {
                const auto work = byID.find(head.workID);
                if (work == byID.end()) continue;
                current = work->second.get();
                currentID = head.workID;
                if (const auto count = counts.find(currentID); count != counts.end()) {
                    current->annotations.reserve(current->annotations.size() + count->second);
                    counts.erase(count);
                }
            }
            auto annotation = std::make_shared<Annotation>();
            annotation->annotationID = text[1];
            if (head.keyForm <= 0 || head.keyForm >= storedForms)
                annotation->annotationKey = text[0];
            else
                annotation->annotationKeyForm = static_cast<Annotation::KeyForm>(head.keyForm);
            annotation->annotationKind = static_cast<Annotation::Kind>(head.kind);
            annotation->annotationSelectedText = text[2];
            annotation->annotationRepText = head.flags & PackedRow::sameRepresentative
                                                ? annotation->annotationSelectedText
                                                : std::string(text[3]);
            annotation->annotationUserNotes = text[4];
            annotation->annotationLocationRawText = text[5];
            annotation->annotationColor = text[6];
            annotation->annotationChapter = text[7];
            annotation->annotationPage = text[8];
            if (head.flags & PackedRow::hasLocation)
                annotation->annotationLocation = Annotation::locationNumber(head.location);
            annotation->annotationCreated = DateText(text[9]);
            annotation->annotationModified = DateText(text[10]);
            annotation->annotationPosition.key = text[11];
            if (head.flags & PackedRow::hasSpine) annotation->annotationPosition.spineIndex = head.spine;
            const auto tagged = tags.find(head.id);
            const Links link{head.sources, head.removedAt, (head.flags & PackedRow::listed) != 0,
                             (head.flags & PackedRow::linked) != 0};
            annotation->annotationLibrary = stateOf(link, (head.flags & PackedRow::favourite) != 0,
                                                    tagged != tags.end() ? &tagged->second : nullptr);
            current->annotations.push_back(std::move(annotation));
        }
        handoff.recycle(block);
    }
    joiner.join();
    if (readFailure) std::rethrow_exception(readFailure);
    std::stable_sort(works.begin(), works.end(),
                     [](const WorkPtr& a, const WorkPtr& b) { return a->workTitle < b->workTitle; });
    return works;
}

std::vector<Library::SourceInfo> Library::sources() const {
    std::vector<SourceInfo> list;
    Statement rows(
        db_, "SELECT s.id, s.kind, s.key, s.name, s.place, s.added, s.last_read, "
             "(SELECT count(*) FROM work_source w WHERE w.source_id = s.id), "
             "(SELECT count(*) FROM annotation_source a WHERE a.source_id = s.id AND a.removed_at IS NULL) "
             "FROM source s ORDER BY s.id");
    while (rows.step()) {
        SourceInfo info;
        info.id = rows.integer(0);
        info.kind = Sources::byName(rows.text(1)).value_or(SourceKind::Books);
        info.key = rows.text(2);
        info.name = rows.text(3);
        info.place = rows.text(4);
        info.added = rows.text(5);
        info.lastRead = rows.text(6);
        info.works = static_cast<std::size_t>(rows.integer(7));
        info.annotations = static_cast<std::size_t>(rows.integer(8));
        list.push_back(std::move(info));
    }
    return list;
}

std::optional<Library::SourceInfo> Library::findSource(const std::string& idNameOrKey) const {
    for (SourceInfo& info : sources())
        if (std::to_string(info.id) == idNameOrKey || info.name == idNameOrKey || info.key == idNameOrKey)
            return std::move(info);
    return std::nullopt;
}

std::size_t Library::annotationsOnlyFrom(long long sourceID) const {
    Statement count(db_, "SELECT count(*) FROM (SELECT annotation_id FROM annotation_source GROUP BY "
                         "annotation_id HAVING count(*) = 1 AND max(source_id) = ?1)");
    count.bind(1, static_cast<std::int64_t>(sourceID));
    return count.step() ? static_cast<std::size_t>(count.integer(0)) : 0;
}

bool Library::forget(long long sourceID, std::string& problem) {
    if (readOnly_) {
        problem = notice_;
        return false;
    }
    Transaction transaction(db_);
    if (!transaction.began()) return unchanged(problem);
    Statement annotations(db_,
                          "DELETE FROM annotation WHERE id IN (SELECT annotation_id FROM annotation_source "
                          "s WHERE s.source_id = ?1 AND NOT EXISTS (SELECT 1 FROM annotation_source o "
                          "WHERE o.annotation_id = s.annotation_id AND o.source_id <> ?1))");
    Statement source(db_, "DELETE FROM source WHERE id = ?1");
    for (Statement* statement : {&annotations, &source}) {
        if (!statement->bind(1, static_cast<std::int64_t>(sourceID)).run()) {
            problem = "The library " + quoted(file_) + " could not be changed (" + statement->error() + ").";
            return false;
        }
    }
    if (!exec("DELETE FROM work WHERE id NOT IN (SELECT work_id FROM work_source)", problem)) return false;
    if (!transaction.commit()) return unchanged(problem);
    return true;
}

bool Library::setFavourite(const std::string& annotationKey, bool favourite, std::string& problem) {
    if (readOnly_) {
        problem = notice_;
        return false;
    }
    Statement update(db_, "UPDATE annotation SET favourite = ?1 WHERE key_hash = ?2");
    if (!update.bind(1, std::int64_t{favourite}).bind(2, keyHash(annotationKey)).run()) {
        problem = "The library " + quoted(file_) + " could not be changed (" + update.error() + ").";
        return false;
    }
    return true;
}

bool Library::setTags(const std::string& annotationKey, std::vector<std::string> tags, std::string& problem) {
    if (readOnly_) {
        problem = notice_;
        return false;
    }
    std::sort(tags.begin(), tags.end());
    tags.erase(std::unique(tags.begin(), tags.end()), tags.end());
    std::erase_if(tags, [](const std::string& tag) { return tag.empty(); });
    Transaction transaction(db_);
    if (!transaction.began()) return unchanged(problem);
    Statement clear(
        db_,
        "DELETE FROM annotation_tag WHERE annotation_id = (SELECT id FROM annotation WHERE key_hash = ?1)");
    Statement insert(
        db_,
        "INSERT INTO annotation_tag(annotation_id, tag) SELECT id, ?2 FROM annotation WHERE key_hash = ?1");
    const auto failed = [&](const Statement& statement) {
        problem = "The library " + quoted(file_) + " could not be changed (" + statement.error() + ").";
        return false;
    };
    const std::int64_t hash = keyHash(annotationKey);
    if (!clear.bind(1, hash).run()) return failed(clear);
    for (const std::string& tag : tags)
        if (!insert.bind(1, hash).bind(2, tag).run()) return failed(insert);
    if (!transaction.commit()) return unchanged(problem);
    return true;
}

Library::SyncState Library::syncState(const std::string& folder) const {
    SyncState state;
    Statement files(db_, "SELECT work_uid, content_hash FROM sync_file WHERE folder = ?1");
    files.bind(1, folder);
    while (files.step())
        state.files.emplace(files.text(0), files.integer(1));
    Statement blocks(db_, "SELECT annotation_key, block_hash FROM sync_block WHERE folder = ?1");
    blocks.bind(1, folder);
    while (blocks.step())
        state.blocks.emplace(blocks.integer(0), blocks.integer(1));
    return state;
}

bool Library::recordSync(const std::string& folder, const SyncState& written, std::string& problem) {
    if (readOnly_) {
        problem = notice_;
        return false;
    }
    Transaction transaction(db_);
    if (!transaction.began()) return unchanged(problem);
    Statement file(db_,
                   "INSERT OR REPLACE INTO sync_file(folder, work_uid, content_hash) VALUES (?1, ?2, ?3)");
    Statement block(
        db_, "INSERT OR REPLACE INTO sync_block(folder, annotation_key, block_hash) VALUES (?1, ?2, ?3)");
    for (const auto& [uid, hash] : written.files)
        if (!file.bind(1, folder).bind(2, uid).bind(3, hash).run()) return unchanged(problem);
    for (const auto& [key, hash] : written.blocks)
        if (!block.bind(1, folder).bind(2, key).bind(3, hash).run()) return unchanged(problem);
    if (!transaction.commit()) return unchanged(problem);
    return true;
}

std::int64_t Library::annotationKeyHash(std::string_view annotationKey) {
    return keyHash(annotationKey);
}

} // namespace notara
