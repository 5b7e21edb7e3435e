#include "notara/core/sqlite/SQLiteManager.h"

#include "html/parser/Utf8.h"

#include "corvane/Report.h"

#include <sqlite3.h>

#include <cstring>

namespace notara {

namespace {

// Finalises a prepared statement on every way out.
struct StatementGuard {
    sqlite3_stmt* statement = nullptr;
    ~StatementGuard() { sqlite3_finalize(statement); }
};

sqlite3_stmt* prepare(sqlite3* db, std::string_view sql) {
    sqlite3_stmt* statement = nullptr;
    if (db == nullptr ||
        sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement, nullptr) != SQLITE_OK ||
        statement == nullptr) {
        sqlite3_finalize(statement);
        corvane::Report::line("Could not execute query");
        return nullptr;
    }
    return statement;
}

std::string_view cellBytes(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    if (text == nullptr) return {};
    const auto size = static_cast<size_t>(sqlite3_column_bytes(statement, column));
    const void* nul = std::memchr(text, '\0', size);
    return {text, nul ? static_cast<size_t>(static_cast<const char*>(nul) - text) : size};
}

} // namespace

std::unique_ptr<SQLiteManager> SQLiteManager::open(const std::string& location) {
    sqlite3* db = nullptr;
    // A connection is opened, read and closed by one thread: SQLite's own locking around every
    // call (a mutex per column read) would be pure cost.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(location.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        corvane::Report::line("Could not open database");
        return nullptr;
    }
    // Nothing here writes data; the only writes are SQLite's own housekeeping of the
    // write-ahead log on close, which need not wait for the disk.
    sqlite3_exec(db, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    return std::unique_ptr<SQLiteManager>(new SQLiteManager(db));
}

std::string SQLiteManager::fileURI(const std::filesystem::path& path) {
    static constexpr char hex[] = "0123456789ABCDEF";
    const std::string absolute = std::filesystem::absolute(path).native();
    std::string uri = "file://";
    uri.reserve(uri.size() + absolute.size());
    for (unsigned char c : absolute) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           c == '/' || c == '-' || c == '.' || c == '_' || c == '~';
        if (plain) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += hex[c >> 4];
            uri += hex[c & 0xF];
        }
    }
    return uri;
}

SQLiteManager::~SQLiteManager() {
    close();
}

void SQLiteManager::close() {
    if (db != nullptr) {
        sqlite3_close(db);
        db = nullptr;
    }
}

std::string_view SQLiteManager::Cursor::raw(int column) const {
    return cellBytes(statement_, column);
}

std::string SQLiteManager::Cursor::text(int column) const {
    return html::utf8::repaired(cellBytes(statement_, column), html::utf8::Repair::MaximalSubpart);
}

bool SQLiteManager::Cursor::isNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::optional<std::int64_t> SQLiteManager::Cursor::integer(int column) const {
    const int type = sqlite3_column_type(statement_, column);
    if (type != SQLITE_INTEGER && type != SQLITE_FLOAT) return std::nullopt;
    return sqlite3_column_int64(statement_, column);
}

std::optional<double> SQLiteManager::Cursor::real(int column) const {
    const int type = sqlite3_column_type(statement_, column);
    if (type != SQLITE_INTEGER && type != SQLITE_FLOAT) return std::nullopt;
    return sqlite3_column_double(statement_, column);
}

bool SQLiteManager::forEachRow(std::string_view statement, const std::vector<std::string>& parameters,
                               const std::function<void(const Cursor&)>& visit) {
    rowsIncomplete_ = true;
    StatementGuard guard{prepare(db, statement)};
    if (guard.statement == nullptr) return false;
    for (size_t i = 0; i < parameters.size(); ++i) {
        sqlite3_bind_text(guard.statement, static_cast<int>(i + 1), parameters[i].data(),
                          static_cast<int>(parameters[i].size()), SQLITE_TRANSIENT);
    }
    const Cursor cursor(guard.statement);
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(guard.statement)) == SQLITE_ROW)
        visit(cursor);
    rowsIncomplete_ = step != SQLITE_DONE;
    return true;
}

std::vector<std::string> SQLiteManager::listTables() {
    std::vector<std::string> names;
    forEachRow("SELECT name FROM sqlite_master WHERE type='table'", {}, [&](const Cursor& row) {
        if (!row.isNull(0)) names.push_back(row.text(0));
    });
    return names;
}

std::vector<std::string> SQLiteManager::listColumns(const std::string& table) {
    std::vector<std::string> names;
    forEachRow("pragma table_info(" + table + ")", {}, [&](const Cursor& row) {
        if (!row.isNull(1)) names.push_back(row.text(1));
    });
    return names;
}

std::vector<SQLRow> SQLiteManager::query(const std::string& statement,
                                         const std::vector<std::string>& columns) {
    std::vector<SQLRow> rows;
    forEachRow(statement, {}, [&](const Cursor& cursor) {
        SQLRow row;
        for (size_t i = 0; i < columns.size(); ++i) {
            // Positions past the statement's last column read as NULL, i.e. empty.
            row[columns[i]] = cursor.text(static_cast<int>(i));
        }
        rows.push_back(std::move(row));
    });
    return rows;
}

} // namespace notara
