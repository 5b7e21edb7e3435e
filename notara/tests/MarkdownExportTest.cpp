#include "notara/core/export/MarkdownExport.h"
#include "html/parser/Utf8.h"
#include "notara/core/model/DataManager.h"
#include "notara/tests/TestSupport.h"

#include "corvane/Corvane.h"
#include "corvane/tests/ReportCapture.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace notara;

namespace {

WorkPtr work(std::string title, std::vector<std::pair<std::string, std::string>> passagesAndNotes) {
    auto result = std::make_shared<Work>(std::move(title), "A");
    for (auto& [passage, note] : passagesAndNotes) {
        auto annotation = std::make_shared<Annotation>();
        annotation->annotationSelectedText = passage;
        annotation->annotationUserNotes = note;
        annotation->annotationRepText = "never written";
        annotation->annotationID = "never written";
        result->annotations.push_back(annotation);
    }
    return result;
}

} // namespace

TEST(MarkdownExport, WritesPassagesQuotedAndNotesVerbatim) {
    EXPECT_EQ(MarkdownExport::markdown(*work("T", {{"s1", "n1"}, {"l1\nl2", ""}})),
              "# T\n**Author**: A\n\n> s1\n\nn1\n\n---\n> l1\n>l2\n---\n");
    EXPECT_EQ(MarkdownExport::markdown(*work("*T*", {{"abc", ""}})), "# *T*\n**Author**: A\n\n> abc\n---\n");
    EXPECT_EQ(MarkdownExport::markdown(*work("T", {{"ends\n", "line 1\nline 2"}})),
              "# T\n**Author**: A\n\n> ends\n>\n\nline 1\nline 2\n\n---\n");
}

TEST(MarkdownExport, FileNameIsSafeAndFits) {
    EXPECT_EQ(MarkdownExport::fileName("", "2025-03-05"), "2025-03-05--Annotations.md");
    EXPECT_EQ(MarkdownExport::fileName(std::string("a/b\0c: \"d\"", 10), "2025-03-05"),
              "2025-03-05-a-b-c: \"d\"-Annotations.md");
    EXPECT_EQ(MarkdownExport::fileName("T", "2025-03-05", 3), "2025-03-05-T (3)-Annotations.md");

    std::string longTitle;
    for (int i = 0; i < 200; ++i)
        longTitle += "\xE2\x82\xAC"; // three-byte characters
    for (int copy : {1, 2, 12}) {
        const std::string name = MarkdownExport::fileName(longTitle, "2025-03-05", copy);
        EXPECT_LE(name.size(), 255u);
        EXPECT_GE(name.size(), 253u);
        EXPECT_EQ(html::utf8::firstInvalid(name), std::string::npos) << "cut at a character boundary";
        EXPECT_TRUE(name.ends_with("-Annotations.md"));
    }
    EXPECT_TRUE(MarkdownExport::fileName(longTitle, "2025-03-05", 12).ends_with(" (12)-Annotations.md"));
}

TEST(MarkdownExport, ExportWritesIntoDownloadsAndSaysWhenItCouldNot) {
    DataManager model;
    const fs::path downloads = *corvane::Corvane::userDownloadsPath();
    fs::remove_all(downloads);

    EXPECT_FALSE(model.exportMarkdown(*work("Empty", {})));
    EXPECT_FALSE(fs::exists(downloads));

    const auto slashed = work("Either/Or", {{"passage", ""}});
    ASSERT_TRUE(model.exportMarkdown(*slashed));
    const fs::path written = downloads / (corvane::Corvane::dateNow() + "-Either-Or-Annotations.md");
    EXPECT_EQ(test::readFile(written), MarkdownExport::markdown(*slashed));

    // Downloads is a file, not a folder: nothing can be written there.
    fs::remove_all(downloads);
    std::ofstream(downloads) << "in the way";
    corvane::testing::ReportCapture reports;
    EXPECT_FALSE(model.exportMarkdown(*slashed));
    EXPECT_EQ(reports.lineCount(), 1) << reports.text();
    fs::remove(downloads);
}
