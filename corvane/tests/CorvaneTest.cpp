#include "corvane/Corvane.h"
#include "corvane/tests/ReportCapture.h"

#include <gtest/gtest.h>

#include <unicode/gregocal.h>
#include <unicode/locid.h>

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Noon on the given calendar day in the default time zone.
std::chrono::system_clock::time_point localNoon(int year, int month, int day) {
    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar calendar(year, month - 1, day, 12, 0, 0, status);
    const UDate millis = calendar.getTime(status);
    EXPECT_TRUE(U_SUCCESS(status));
    return std::chrono::system_clock::time_point(std::chrono::milliseconds(static_cast<int64_t>(millis)));
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace

TEST(CorvaneDate, UsesTheCalendarYearAtTheTurnOfTheYear) {
    // In en_US weeks start on Sunday, so 31 December 2024 belongs to the first week of 2025.
    const icu::Locale previous = icu::Locale::getDefault();
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("en_US"), status);
    EXPECT_EQ(corvane::Corvane::dateText(localNoon(2024, 12, 31)), "2024-12-31");
    EXPECT_EQ(corvane::Corvane::dateText(localNoon(2021, 1, 1)), "2021-01-01");
    EXPECT_EQ(corvane::Corvane::dateText(localNoon(2025, 3, 5)), "2025-03-05");
    icu::Locale::setDefault(previous, status);
}

TEST(CorvaneFolders, LiveUnderTheUsersHome) {
    const fs::path home = std::getenv("HOME");
    const std::string data = corvane::Corvane::appDocumentsPath();
    ASSERT_FALSE(data.empty());
    EXPECT_TRUE(fs::is_directory(data)) << "created on demand";
    EXPECT_EQ(fs::path(data).lexically_relative(home).native().rfind(".local/share/", 0), 0u) << data;
    EXPECT_EQ(corvane::Corvane::userDownloadsPath(), (home / "Downloads").native());
}

TEST(CorvaneSaving, WritesDatedFileIntoDownloadsAndReplacesIt) {
    const fs::path downloads = *corvane::Corvane::userDownloadsPath();
    fs::create_directories(downloads);
    const fs::path expected = downloads / (corvane::Corvane::dateNow() + "-x.md");

    EXPECT_TRUE(corvane::Corvane::saveContentsWithFilename("first version, longer", "x.md"));
    EXPECT_TRUE(corvane::Corvane::saveContentsWithFilename("é\n", "x.md"));
    EXPECT_EQ(readFile(expected), "é\n");
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(downloads), fs::directory_iterator()), 1);
    fs::remove(expected);
}

TEST(CorvaneSaving, ReportsAFailedWrite) {
    corvane::testing::ReportCapture reports;
    const fs::path target = fs::path(std::getenv("HOME")) / "no such folder" / "x.md";
    EXPECT_FALSE(corvane::Corvane::saveContentsToPath("text", target));
    EXPECT_FALSE(fs::exists(target));
    EXPECT_NE(reports.text().find(target.native()), std::string::npos) << reports.text();
    EXPECT_EQ(reports.lineCount(), 1);
}

TEST(CorvaneSaving, ManyFilesInARowReplaceAtomicallyAndSayWhyTheyFail) {
    const fs::path folder = fs::path(std::getenv("HOME")) / "many";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path target = folder / std::string(250, 'n').append(".md"); // the longest names still fit
    EXPECT_TRUE(corvane::Corvane::saveContentsToPathDeferringSync("first, longer version", target));
    EXPECT_TRUE(corvane::Corvane::saveContentsToPathDeferringSync("second", target));
    corvane::Corvane::syncFolder(folder);
    EXPECT_EQ(readFile(target), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::owner_read, fs::perms::owner_read);

    corvane::testing::ReportCapture reports;
    std::string problem;
    EXPECT_FALSE(
        corvane::Corvane::saveContentsToPathDeferringSync("x", folder / "missing" / "x.md", &problem));
    EXPECT_EQ(problem, "No such file or directory");
    EXPECT_EQ(reports.lineCount(), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}
