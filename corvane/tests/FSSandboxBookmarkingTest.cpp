#include "corvane/FSSandboxBookmarking.h"
#include "corvane/tests/ReportCapture.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;
using corvane::FSSandboxBookmarking;

namespace {

class Bookmarks : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(std::getenv("HOME")) / "bookmarked";
        fs::create_directories(folder);
        file = folder / "Library #1?.sqlite";
        std::ofstream(file) << "data";
    }
    void TearDown() override {
        QSettings().clear();
        fs::remove_all(folder);
    }
    static QByteArray stored(const char* key) { return QSettings().value(key).toByteArray(); }

    fs::path folder;
    fs::path file;
};

} // namespace

TEST_F(Bookmarks, NeverWrittenKeyIsAbsentWithoutReport) {
    corvane::testing::ReportCapture reports;
    EXPECT_EQ(FSSandboxBookmarking::resolveBookmark("Books Library"), std::nullopt);
    EXPECT_EQ(reports.text(), "");
}

TEST_F(Bookmarks, ResolvesFilesAndFoldersUntilTheyAreDeleted) {
    ASSERT_TRUE(FSSandboxBookmarking::saveBookmark(file, "Books Library"));
    ASSERT_TRUE(FSSandboxBookmarking::saveBookmark(folder, "iBooks Directory"));
    EXPECT_EQ(FSSandboxBookmarking::resolveBookmark("Books Library"), file);
    EXPECT_EQ(FSSandboxBookmarking::resolveBookmark("iBooks Directory"), folder);

    const QByteArray before = stored("Books Library");
    fs::remove(file);
    corvane::testing::ReportCapture reports;
    EXPECT_EQ(FSSandboxBookmarking::resolveBookmark("Books Library"), std::nullopt);
    EXPECT_NE(reports.text().find(file.native()), std::string::npos) << reports.text();
    EXPECT_EQ(stored("Books Library"), before) << "the stored value is kept";
}

TEST_F(Bookmarks, StaleReferenceIsRefreshedUnderTheSameKey) {
    ASSERT_TRUE(FSSandboxBookmarking::saveBookmark(file, "Books Annotation"));
    const QByteArray before = stored("Books Annotation");

    // Another file takes the path (a new inode, as when Books rewrites its database).
    const fs::path replacement = folder / "replacement";
    std::ofstream(replacement) << "new data";
    fs::rename(replacement, file);

    corvane::testing::ReportCapture reports;
    EXPECT_EQ(FSSandboxBookmarking::resolveBookmark("Books Annotation"), file);
    const QByteArray refreshed = stored("Books Annotation");
    EXPECT_NE(refreshed, before);
    EXPECT_EQ(FSSandboxBookmarking::resolveBookmark("Books Annotation"), file);
    EXPECT_EQ(stored("Books Annotation"), refreshed) << "no longer stale";
    EXPECT_EQ(reports.text(), "");
}

TEST_F(Bookmarks, SecondSaveReplacesTheFirst) {
    const fs::path other = folder / "other.sqlite";
    std::ofstream(other) << "x";
    ASSERT_TRUE(FSSandboxBookmarking::saveBookmark(file, "Books Library"));
    ASSERT_TRUE(FSSandboxBookmarking::saveBookmark(other, "Books Library"));
    EXPECT_EQ(FSSandboxBookmarking::resolveBookmark("Books Library"), other);
}

TEST_F(Bookmarks, MissingTargetOrForeignDataFailsWithAReport) {
    corvane::testing::ReportCapture reports;
    EXPECT_FALSE(FSSandboxBookmarking::saveBookmark(folder / "missing", "Books Library"));
    EXPECT_FALSE(QSettings().contains("Books Library"));

    QSettings().setValue("Books Library", QByteArray("not a reference"));
    EXPECT_EQ(FSSandboxBookmarking::resolveBookmark("Books Library"), std::nullopt);
    EXPECT_EQ(reports.lineCount(), 2) << reports.text();
}
