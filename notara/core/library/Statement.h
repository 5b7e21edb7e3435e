#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace notara {

/// One prepared statement of the library, finalised with it. Binds take 1-based positions;
/// texts are bound as transient copies, so the caller's strings may go at once.
class Statement {
public:
    Statement(sqlite3* db, std::string_view sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr) !=
            SQLITE_OK)
            statement_ = nullptr;
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    explicit operator bool() const { return statement_ != nullptr; }

    Statement& bind(int at, std::string_view text) {
        sqlite3_bind_text(statement_, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    /// For texts that stay alive and unchanged until the statement has run: no copy is made.
    Statement& bindStatic(int at, std::string_view text) {
        sqlite3_bind_text(statement_, at, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
        return *this;
    }
    Statement& bindBlob(int at, std::string_view bytes) {
        sqlite3_bind_blob(statement_, at, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bind(int at, std::int64_t number) {
        sqlite3_bind_int64(statement_, at, number);
        return *this;
    }
    Statement& bindNull(int at) {
        sqlite3_bind_null(statement_, at);
        return *this;
    }
    template <typename Number> Statement& bind(int at, const std::optional<Number>& number) {
        return number ? bind(at, static_cast<std::int64_t>(*number)) : bindNull(at);
    }

    /// True while there is a row; a failure ends the rows and shows in failed().
    bool step() {
        const int code = sqlite3_step(statement_);
        if (code == SQLITE_ROW) return true;
        failed_ = code != SQLITE_DONE;
        return false;
    }
    /// Runs a statement that returns no rows, then makes it ready to run again.
    bool run() {
        step();
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
        return !failed_;
    }
    void reset() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    bool failed() const { return failed_ || !statement_; }
    std::string error() const { return sqlite3_errmsg(db_); }

    std::string_view text(int column) const {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return bytes ? std::string_view(bytes,
                                        static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                     : std::string_view();
    }
    std::string_view blob(int column) const {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement_, column));
        return bytes ? std::string_view(bytes,
                                        static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                     : std::string_view();
    }
    std::int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }
    bool isNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
    bool failed_ = false;
};

} // namespace notara
