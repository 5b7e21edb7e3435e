#pragma once

#include "notara/core/sqlite/SQLRow.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace notara {

/// A thin, read-only-in-use layer over one SQLite connection. Every value comes back as
/// UTF-8 text (integers and reals in SQLite's text form; invalid UTF-8 replaced by U+FFFD;
/// text ends at the first NUL byte). Failures are report lines: "Could not open database"
/// and "Could not execute query".
class SQLiteManager {
public:
    /// Opens `location`, a file URI ("file:///...", see fileURI) or a plain path; a missing
    /// file is created as an empty database. Null after the report line on failure.
    static std::unique_ptr<SQLiteManager> open(const std::string& location);

    /// The percent-encoded "file://" URI of `path`, as `open` expects it.
    static std::string fileURI(const std::filesystem::path& path);

    SQLiteManager(const SQLiteManager&) = delete;
    SQLiteManager& operator=(const SQLiteManager&) = delete;
    /// Closes the connection if `close` was not called.
    ~SQLiteManager();

    /// Closes the connection; later requests are not allowed.
    void close();

    /// Names of all tables (SQLite's own included), NULLs skipped.
    std::vector<std::string> listTables();

    /// Column names of `table` in declaration order; empty for a missing table. The name
    /// goes into the pragma verbatim.
    std::vector<std::string> listColumns(const std::string& table);

    /// Runs `statement` and maps result column i to `columns[i]` in every row; positions
    /// the statement does not have read as empty. Empty on failure, after the report.
    std::vector<SQLRow> query(const std::string& statement, const std::vector<std::string>& columns);

    /// Read access to the current row of `forEachRow`.
    class Cursor {
    public:
        explicit Cursor(sqlite3_stmt* statement) : statement_(statement) {}
        /// The cell as text, up to its first NUL byte, bytes as stored (not validated).
        std::string_view raw(int column) const;
        /// The cell as valid UTF-8 text; empty for NULL.
        std::string text(int column) const;
        bool isNull(int column) const;
        /// The cell as a number; absent for NULL and for texts and blobs.
        std::optional<std::int64_t> integer(int column) const;
        std::optional<double> real(int column) const;

    private:
        sqlite3_stmt* statement_;
    };

    /// Prepares `statement` once, binds `parameters` as text to ?1, ?2, ... and calls
    /// `visit` for each result row. False after "Could not execute query" when it cannot
    /// be prepared; a failure while stepping ends the rows silently.
    bool forEachRow(std::string_view statement, const std::vector<std::string>& parameters,
                    const std::function<void(const Cursor&)>& visit);

    /// Whether the last forEachRow (or the request built on it) stopped at an error, a damaged
    /// page say, before its last row.
    bool rowsIncomplete() const { return rowsIncomplete_; }

    /// The connection; null once closed.
    sqlite3* db = nullptr;

private:
    explicit SQLiteManager(sqlite3* connection) : db(connection) {}
    bool rowsIncomplete_ = false;
};

} // namespace notara
