#pragma once

// Builds KoboReader.sqlite files with the device's own table layouts, for tests and benchmarks.

#include "notara/tests/SqlExec.h"

#include <sqlite3.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace notara::test {

struct KoboBookmark {
    std::string id;
    std::string volumeID;  // the book's ContentID
    std::string contentID; // the part of the book
    std::optional<std::string> text;
    std::optional<std::string> annotation;
    std::string type = "highlight";
    std::string hidden = "false";
    double progress = 0;
    std::string created = "2025-02-04T17:16:33.795";
    std::string modified = "2025-02-04T17:16:33Z";
    int color = 0;
    std::string startPath = "span#kobo\\.1\\.1";
    int startOffset = 0;
};

class KoboStore {
public:
    // Firmware generations: before the Type column, DbVersion 174 (Type), colour (Type, Color).
    enum class Generation { NoType, Version174, Colour };

    KoboStore(const std::filesystem::path& file, Generation generation) : generation_(generation) {
        std::filesystem::create_directories(file.parent_path());
        if (sqlite3_open(file.c_str(), &db_) != SQLITE_OK)
            throw std::runtime_error("cannot create " + file.native());
        std::string bookmark =
            "CREATE TABLE Bookmark (BookmarkID TEXT NOT NULL, VolumeID TEXT NOT NULL, ContentID TEXT NOT "
            "NULL, "
            "StartContainerPath TEXT NOT NULL, StartContainerChildIndex INTEGER NOT NULL, StartOffset "
            "INTEGER "
            "NOT NULL, EndContainerPath TEXT NOT NULL, EndContainerChildIndex INTEGER NOT NULL, EndOffset "
            "INTEGER NOT NULL, Text TEXT, Annotation TEXT, ExtraAnnotationData BLOB, DateCreated TEXT, "
            "ChapterProgress REAL NOT NULL DEFAULT 0, Hidden BOOL NOT NULL DEFAULT 0, Version TEXT, "
            "DateModified TEXT, Creator TEXT, UUID TEXT, UserID TEXT, SyncTime TEXT, Published BIT default "
            "false, ContextString TEXT";
        if (generation != Generation::NoType) bookmark += ", Type TEXT";
        if (generation == Generation::Colour) bookmark += ", Color INTEGER DEFAULT 0";
        exec(bookmark + ", PRIMARY KEY (BookmarkID) )");
        exec("CREATE INDEX bookmark_content ON bookmark (ContentID)");
        exec("CREATE INDEX bookmark_volume ON bookmark (VolumeID)");
        exec("CREATE TABLE content(ContentID TEXT NOT NULL, ContentType TEXT NOT NULL, MimeType TEXT NOT "
             "NULL, "
             "BookID TEXT, BookTitle TEXT, ImageId TEXT, Title TEXT COLLATE NOCASE, Attribution TEXT COLLATE "
             "NOCASE, Description TEXT, DateCreated TEXT, VolumeIndex INTEGER, ___UserID TEXT NOT NULL, "
             "Depth INTEGER, IsDownloaded BIT NOT NULL DEFAULT 1, PRIMARY KEY (ContentID) )");
        exec("CREATE TABLE DbVersion (version INTEGER)");
        exec("INSERT INTO DbVersion VALUES (174)");
    }
    KoboStore(const KoboStore&) = delete;
    KoboStore& operator=(const KoboStore&) = delete;
    ~KoboStore() { close(); }

    void exec(const std::string& sql) { sqlExec(db_, sql); }

    /// A content row: type "6" book, "9" part, "899" table-of-contents entry.
    void addContent(const std::string& id, const std::string& type, const std::optional<std::string>& title,
                    const std::optional<std::string>& attribution = std::nullopt,
                    const std::string& bookID = {}, int volumeIndex = -1) {
        sqlite3_stmt* statement = prepare(
            "INSERT INTO content (ContentID, ContentType, MimeType, BookID, Title, Attribution, VolumeIndex, "
            "___UserID) VALUES (?1, ?2, 'application/x-kobo-epub+zip', ?3, ?4, ?5, ?6, 'kepub_user')");
        bind(statement, 1, id);
        bind(statement, 2, type);
        bind(statement, 3, bookID.empty() ? std::nullopt : std::optional<std::string>(bookID));
        bind(statement, 4, title);
        bind(statement, 5, attribution);
        sqlite3_bind_int(statement, 6, volumeIndex);
        finish(statement);
    }

    void addBookmark(const KoboBookmark& b) {
        std::string columns =
            "BookmarkID, VolumeID, ContentID, StartContainerPath, StartContainerChildIndex, "
            "StartOffset, EndContainerPath, EndContainerChildIndex, EndOffset, Text, Annotation, "
            "DateCreated, ChapterProgress, Hidden, DateModified";
        std::string values = "?1, ?2, ?3, ?4, -99, ?5, ?4, -99, 0, ?6, ?7, ?8, ?9, ?10, ?11";
        if (generation_ != Generation::NoType) {
            columns += ", Type";
            values += ", ?12";
        }
        if (generation_ == Generation::Colour) {
            columns += ", Color";
            values += ", ?13";
        }
        if (!insert_) insert_ = prepare("INSERT INTO Bookmark (" + columns + ") VALUES (" + values + ")");
        bind(insert_, 1, b.id);
        bind(insert_, 2, b.volumeID);
        bind(insert_, 3, b.contentID);
        bind(insert_, 4, b.startPath);
        sqlite3_bind_int(insert_, 5, b.startOffset);
        bind(insert_, 6, b.text);
        bind(insert_, 7, b.annotation);
        bind(insert_, 8, b.created);
        sqlite3_bind_double(insert_, 9, b.progress);
        bind(insert_, 10, b.hidden);
        bind(insert_, 11, b.modified);
        if (generation_ != Generation::NoType) bind(insert_, 12, b.type);
        if (generation_ == Generation::Colour) sqlite3_bind_int(insert_, 13, b.color);
        if (sqlite3_step(insert_) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
        sqlite3_reset(insert_);
    }

    /// From here on, writes stay in the -wal file, as on a device that did not checkpoint.
    void keepRecentInLog() {
        exec("PRAGMA journal_mode=WAL");
        exec("PRAGMA wal_autocheckpoint=0");
        exec("PRAGMA wal_checkpoint(TRUNCATE)");
        keepLog_ = true;
    }

    void close() {
        if (!db_) return;
        sqlite3_finalize(insert_);
        insert_ = nullptr;
        // Closing the last connection would fold the log into the file: leave it as a device does.
        if (keepLog_) sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        sqlite3_close(db_);
        db_ = nullptr;
    }

private:
    sqlite3_stmt* prepare(const std::string& sql) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
        return statement;
    }
    static void bind(sqlite3_stmt* statement, int index, const std::optional<std::string>& value) {
        if (value)
            sqlite3_bind_text(statement, index, value->data(), static_cast<int>(value->size()),
                              SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(statement, index);
    }
    void finish(sqlite3_stmt* statement) {
        const int result = sqlite3_step(statement);
        sqlite3_finalize(statement);
        if (result != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
    }

    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    Generation generation_;
    bool keepLog_ = false;
};

} // namespace notara::test
