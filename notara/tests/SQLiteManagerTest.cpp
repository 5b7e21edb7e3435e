#include "notara/core/sqlite/SQLiteManager.h"
#include "html/parser/Utf8.h"
#include "notara/tests/TestSupport.h"

#include "corvane/tests/ReportCapture.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace fs = std::filesystem;
using notara::SQLiteManager;

namespace {

// A database at a path with characters that mean something in a URI.
std::unique_ptr<SQLiteManager> sampleDatabase() {
    const fs::path file = notara::test::freshFolder("sqlite manager") / "a #1?x=%20.sqlite";
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db,
                 "CREATE TABLE T (A INTEGER, B VARCHAR, C FLOAT);"
                 "INSERT INTO T VALUES (42, NULL, 1.5);"
                 "INSERT INTO T VALUES (-1, 'x' || char(0) || 'y', NULL);"
                 "INSERT INTO T VALUES (0, CAST(X'61FF62' AS TEXT), 2.0);",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return SQLiteManager::open(SQLiteManager::fileURI(file));
}

} // namespace

TEST(SQLiteManager, OpensFileURIsOfAnyPathAndReadsTheSchema) {
    corvane::testing::ReportCapture reports;
    auto db = sampleDatabase();
    ASSERT_TRUE(db);
    EXPECT_EQ(db->listTables(), std::vector<std::string>{"T"});
    EXPECT_EQ(db->listColumns("T"), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_TRUE(db->listColumns("Missing").empty());
    EXPECT_EQ(reports.text(), "");
}

TEST(SQLiteManager, QueryGivesEveryCellAsText) {
    auto db = sampleDatabase();
    ASSERT_TRUE(db);
    const auto rows = db->query("SELECT * FROM T", {"A", "B", "C", "Extra"});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].at("A"), "42");
    EXPECT_EQ(rows[0].at("B"), "") << "NULL reads as empty";
    EXPECT_EQ(rows[0].at("C"), "1.5");
    EXPECT_EQ(rows[0].at("Extra"), "") << "a name past the last column";
    EXPECT_EQ(rows[1].at("B"), "x") << "text ends at a NUL byte";
    EXPECT_EQ(rows[2].at("B"), "a\xEF\xBF\xBD"
                               "b")
        << "invalid UTF-8 is replaced";

    const auto unnamed = db->query("SELECT * FROM T", {});
    EXPECT_EQ(unnamed.size(), 3u);
    EXPECT_TRUE(unnamed[0].empty());

    const auto repeated = db->query("SELECT A, C FROM T", {"X", "X"});
    EXPECT_EQ(repeated[0].at("X"), "1.5") << "the later position wins";

    EXPECT_TRUE(db->query("SELECT * FROM T WHERE A > 100", {"A"}).empty());
}

TEST(SQLiteManager, FailuresAreReportedWithFixedWords) {
    corvane::testing::ReportCapture reports;
    EXPECT_EQ(SQLiteManager::open("/no/such/folder/x.sqlite"), nullptr);
    auto db = sampleDatabase();
    ASSERT_TRUE(db);
    EXPECT_TRUE(db->query("SELECT * FROM Missing", {"A"}).empty());
    EXPECT_EQ(reports.text(), "Could not open database\nCould not execute query\n");
}

TEST(Utf8, ReplacesEachMaximalInvalidSubpart) {
    const auto validUtf8 = [](std::string_view s) {
        return html::utf8::repaired(s, html::utf8::Repair::MaximalSubpart);
    };
    EXPECT_EQ(validUtf8("plain ascii text, long enough for words"),
              "plain ascii text, long enough for words");
    EXPECT_EQ(validUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(validUtf8("a\xE2\x82"), "a\xEF\xBF\xBD") << "truncated sequence";
    EXPECT_EQ(validUtf8("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD") << "surrogate";
    EXPECT_EQ(validUtf8("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD") << "overlong";
    // The HTML input stream replaces each byte of a cut character instead.
    EXPECT_EQ(html::utf8::repaired("a\xE2\x82"
                                   "b"),
              "a\xEF\xBF\xBD\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(html::utf8::firstInvalid("plain \xC3\xA9 then \xE2\x82"), 14u);
}
