// The detailed Markdown layout and the export of many works, read back with a real CommonMark
// parser.

#include "notara/core/export/BulkExport.h"
#include "notara/core/export/MarkdownExport.h"
#include "notara/core/model/IsoDate.h"
#include "notara/tests/TestSupport.h"

#include <cmark.h>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace notara;
using namespace notara::test;

namespace {

AnnotationPtr annotation(std::string passage, std::string note, std::string chapter, std::string page = "",
                         std::optional<std::int64_t> location = std::nullopt) {
    auto a = std::make_shared<Annotation>("id", std::move(passage), std::move(note));
    a->annotationChapter = std::move(chapter);
    a->annotationPage = std::move(page);
    a->annotationLocation = location;
    return a;
}

// Top-level blocks as letters (H1/H2 headings by level, Q quote, P paragraph, T break) and, for
// each quote, how many paragraphs it holds.
std::string shape(std::string_view markdown) {
    cmark_node* document = cmark_parse_document(markdown.data(), markdown.size(), CMARK_OPT_DEFAULT);
    std::string result;
    for (cmark_node* node = cmark_node_first_child(document); node; node = cmark_node_next(node)) {
        switch (cmark_node_get_type(node)) {
        case CMARK_NODE_HEADING: result += "H" + std::to_string(cmark_node_get_heading_level(node)); break;
        case CMARK_NODE_BLOCK_QUOTE: {
            int paragraphs = 0;
            for (cmark_node* inner = cmark_node_first_child(node); inner; inner = cmark_node_next(inner))
                paragraphs += cmark_node_get_type(inner) == CMARK_NODE_PARAGRAPH;
            result += "Q" + std::to_string(paragraphs);
            break;
        }
        case CMARK_NODE_PARAGRAPH: result += 'P'; break;
        case CMARK_NODE_THEMATIC_BREAK: result += 'T'; break;
        default: result += '?';
        }
        result += ' ';
    }
    cmark_node_free(document);
    return result;
}

} // namespace

TEST(DetailedExport, RendersHeadingsQuotesPlacesAndNotesAsIntended) {
    Work work("A \"Quoted\" Title", "Writer");
    work.workSource = "Kindle Notebook";
    auto first = annotation("one\ntwo", "a note", "Chapter 1", "77", 805);
    first->annotationColor = "yellow";
    first->annotationCreated = DateText("2021-11-02T18:14:12Z");
    work.annotations = {first, annotation("same chapter", "", "Chapter 1", "", 900),
                        annotation("", "a lone note", "Chapter 2"), annotation("no place at all", "", "")};
    const std::string markdown = MarkdownExport::detailedMarkdown(work, work.annotations, "2026-12-08");

    ASSERT_TRUE(markdown.starts_with("---\n"));
    const size_t end = markdown.find("\n---\n", 4);
    EXPECT_EQ(markdown.substr(0, end + 5),
              "---\ntitle: \"A \\\"Quoted\\\" Title\"\nauthor: \"Writer\"\n"
              "source: \"Kindle Notebook\"\nexported: 2026-12-08\nannotations: 4\n---\n");
    const std::string body = markdown.substr(end + 5);
    // Title, author; Chapter 1 once for its two annotations; Chapter 2; the last has none.
    EXPECT_EQ(shape(body), "H1 P H2 Q1 P P T Q1 P T H2 P T Q1 T ");
    EXPECT_NE(body.find("> one\n>two\n\n*Page 77 \xC2\xB7 Location 805 \xC2\xB7 yellow \xC2\xB7 "
                        "2021-11-02*\n\na note\n\n---\n"),
              std::string::npos)
        << body;
    EXPECT_NE(body.find("## Chapter 2\n\na lone note\n\n---\n"), std::string::npos) << body;
}

TEST(DetailedExport, BulkExportNamesEqualTitlesApartAndWritesOnlyWorksWithAnnotations) {
    const fs::path out = freshFolder("bulk");
    auto make = [](std::string title, int annotations) {
        auto work = std::make_shared<Work>(std::move(title), "A");
        for (int i = 0; i < annotations; ++i)
            work->annotations.push_back(annotation(std::string("p").append(std::to_string(i)), "", ""));
        return work;
    };
    const std::vector<WorkPtr> works = {make("Same", 1), make("Empty", 0), make("Same", 2),
                                        make("Other/Name", 1)};
    BulkExport run(works, out, "2026-12-08", {AnnotationOrder::Order::Stored, true});
    EXPECT_EQ(run.total(), 3u);
    std::vector<std::string> names;
    while (!run.finished()) {
        const auto path = run.writeNext();
        ASSERT_TRUE(path) << run.lastProblem();
        names.push_back(path->filename().native());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"2026-12-08-Same-Annotations.md",
                                               "2026-12-08-Same (2)-Annotations.md",
                                               "2026-12-08-Other-Name-Annotations.md"}));
    EXPECT_EQ(run.written(), 3u);
    EXPECT_NE(readFile(out / names[1]).find("annotations: 2\n"), std::string::npos);

    BulkExport blocked(works, out / "missing folder", "2026-12-08", {});
    EXPECT_FALSE(blocked.writeNext());
    EXPECT_FALSE(blocked.lastProblem().empty());
}

TEST(DetailedExport, CommandLineWritesTheDetailedLayout) {
    const fs::path out = freshFolder("detailed-cli");
    const CliRun run =
        cli({"export", "--kindle", QString::fromStdString(kindleSample("desktop-crossed-tags.html")),
             "--detailed", "--order", "book", "--out", QString::fromStdString(out.native())});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string written = readFile(run.out.substr(0, run.out.size() - 1));
    EXPECT_TRUE(written.starts_with("---\ntitle: \"The Cartographer\xE2\x80\x99s Quiet Year\"\n")) << written;
    EXPECT_NE(written.find("exported: " + IsoDate::today() + "\n"), std::string::npos);
    EXPECT_NE(written.find("## One: The Coast Road\n\n> Every map"), std::string::npos) << written;
    EXPECT_NE(written.find("*Page 3 \xC2\xB7 Location 75 \xC2\xB7 yellow*"), std::string::npos) << written;
    EXPECT_EQ(cli({"list", "--kindle", QString::fromStdString(kindleSample("desktop-crossed-tags.html")),
                   "--detailed"})
                  .exitCode,
              2);
}
