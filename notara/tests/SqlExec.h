#pragma once

#include <sqlite3.h>

#include <stdexcept>
#include <string>

namespace notara::test {

/// Runs `sql` on `db`; the fixtures that build databases stop at the first statement that fails.
inline void sqlExec(sqlite3* db, const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error(text + " in: " + sql);
    }
}

} // namespace notara::test
