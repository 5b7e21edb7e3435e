// The notes-folder sync: the built-in layouts read back with cmark, a reader's template with an
// error, files renamed, blocks deleted, --restore, --dry-run, and fifty rounds of changes on
// both sides after which every reader edit is still there and every highlight once, in order.

#include "notara/core/export/NotesSync.h"
#include "notara/core/library/Library.h"
#include "notara/core/model/AnnotationOrder.h"
#include "notara/core/sources/Sources.h"
#include "notara/tests/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <cmark.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <set>

namespace fs = std::filesystem;
using namespace notara;
using namespace notara::test;

namespace {

struct Clip {
    std::string book;
    int location;
    std::string text;
    std::string note;
};

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string clippingsOf(const std::vector<Clip>& clips) {
    std::string file;
    for (const Clip& clip : clips) {
        const std::string where =
            "Location " + std::to_string(clip.location) + "-" + std::to_string(clip.location + 2);
        file += clip.book + " (Ada Okafor)\r\n- Your Highlight on " + where +
                " | Added on Monday, July 13, 2015 4:06:30 AM\r\n\r\n" + clip.text + "\r\n==========\r\n";
        if (!clip.note.empty())
            file += clip.book + " (Ada Okafor)\r\n- Your Note on Location " +
                    std::to_string(clip.location + 2) +
                    " | Added on Monday, July 13, 2015 4:06:30 AM\r\n\r\n" + clip.note + "\r\n==========\r\n";
    }
    return file;
}

// A library fed from one clippings file, and a notes folder beside it.
struct NotesFolder {
    fs::path root;
    fs::path clippings;
    fs::path notes;
    std::unique_ptr<Library> library;

    explicit NotesFolder(const std::string& name)
        : root(freshFolder(name)), clippings(root / "My Clippings.txt"), notes(root / "notes") {
        std::string problem;
        library = Library::open(root / "library.sqlite", problem);
        EXPECT_TRUE(library) << problem;
    }
    void read(const std::vector<Clip>& clips) {
        writeFile(clippings, clippingsOf(clips));
        Library::Counts counts;
        std::string problem;
        ASSERT_TRUE(library->add(Sources::read(SourceKind::Clippings, clippings), counts, problem))
            << problem;
    }
    NotesSync::Report sync(const std::string& templates = "obsidian", bool dryRun = false,
                           bool restore = false) {
        std::string problem;
        auto set = NoteTemplates::load(templates, problem);
        EXPECT_TRUE(set) << problem;
        NotesSync::Report report;
        EXPECT_TRUE(
            NotesSync::run(*library, library->works(), {notes, *set, dryRun, restore, {}}, report, problem))
            << problem;
        return report;
    }
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> found;
        if (!fs::exists(notes)) return found;
        for (const auto& entry : fs::recursive_directory_iterator(notes))
            if (entry.is_regular_file())
                found[fs::relative(entry.path(), notes).string()] = readFile(entry.path());
        return found;
    }
};

std::string html(const std::string& markdown) {
    char* out = cmark_markdown_to_html(markdown.data(), markdown.size(), CMARK_OPT_UNSAFE);
    std::string text(out);
    free(out);
    return text;
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// The block ids of a file, in order.
std::vector<std::string> blockIDs(const std::string& file) {
    std::vector<std::string> ids;
    static const std::regex marker("<!-- notara:(n[0-9a-f]+) -->");
    for (std::sregex_iterator it(file.begin(), file.end(), marker), end; it != end; ++it)
        ids.push_back((*it)[1]);
    return ids;
}

} // namespace

TEST(NotesSync, EachBuiltInLayoutReadsBackAsItsToolMeansIt) {
    const std::vector<Clip> clips{{"Salt Roads", 10, "The road ran on.", "My note."},
                                  {"Salt Roads", 40, "Two\nlines.", ""}};
    for (const std::string name : {"plain", "detailed", "obsidian", "logseq"}) {
        NotesFolder setup("sync-layout-" + name);
        setup.read(clips);
        const auto report = setup.sync(name);
        EXPECT_EQ(report.text(),
                  "1 file written, 1 new file, 2 highlights added, 0 edits kept, 0 removed at source");
        const auto files = setup.files();
        ASSERT_EQ(files.size(), 1u) << name;
        const std::string& file = files.begin()->second;
        EXPECT_TRUE(file.starts_with("---\nnotara-id: ")) << name;
        const std::string out = html(file);
        // The front matter is YAML for the tools, a rule and a paragraph for cmark; what follows
        // is the template's structure, the markers invisible.
        EXPECT_EQ(count(out, "<!-- notara:"), 2u) << name;
        if (name == "logseq") {
            EXPECT_EQ(count(out, "<li>"), 3u) << out; // two highlights, one note below the first
            EXPECT_EQ(count(file, "\n  id:: "), 2u);
        } else {
            EXPECT_EQ(count(out, "<blockquote>"), 2u) << name << out;
            EXPECT_NE(out.find("My note."), std::string::npos);
            EXPECT_NE(out.find("<h1>Salt Roads</h1>"), std::string::npos) << name << out;
        }
        if (name != "logseq") {
            EXPECT_EQ(count(file, "\n^n"), 2u) << name; // Obsidian-style block ids
        }
        if (name == "plain") {
            EXPECT_EQ(count(out, "<hr />"), 3u) << out; // the front matter's and two
        }
    }
}

TEST(NotesSync, AReadersTemplateWithAnErrorNamesTheLineAndWritesNothing) {
    NotesFolder setup("sync-template");
    setup.read({{"Salt Roads", 10, "Text.", ""}});
    const fs::path mine = setup.root / "mine";
    writeFile(mine / "annotation.mustache",
              "> {{annotationSelectedText}}\n{{#annotationUserNotes}}\n{{note\n");
    std::string problem;
    EXPECT_FALSE(NoteTemplates::load(mine.string(), problem));
    EXPECT_NE(problem.find((mine / "annotation.mustache").string()), std::string::npos) << problem;
    EXPECT_NE(problem.find("line 3"), std::string::npos) << problem;
    EXPECT_FALSE(NoteTemplates::load("no-such-set", problem));
    // A sound one of the reader's: used as written.
    writeFile(mine / "annotation.mustache", "* {{annotationSelectedText}} ({{place}})\n");
    writeFile(mine / "filename.mustache", "{{workAuthor}} - {{workTitle}}");
    auto set = NoteTemplates::load(mine.string(), problem);
    ASSERT_TRUE(set) << problem;
    NotesSync::Report report;
    ASSERT_TRUE(NotesSync::run(*setup.library, setup.library->works(), {setup.notes, *set, false, false, {}},
                               report, problem));
    const auto files = setup.files();
    ASSERT_EQ(files.count("Ada Okafor - Salt Roads.md"), 1u);
    EXPECT_NE(files.begin()->second.find("* Text. (Location 10)"), std::string::npos);
}

TEST(NotesSync, RenamedFilesDeletedBlocksRestoreAndDryRun) {
    NotesFolder setup("sync-reader");
    std::vector<Clip> clips{
        {"Salt Roads", 10, "One.", ""}, {"Salt Roads", 20, "Two.", ""}, {"Salt Roads", 30, "Three.", ""}};
    setup.read(clips);
    setup.sync();
    // The reader moves and renames the file and deletes the second block.
    fs::create_directories(setup.notes / "Books");
    fs::rename(setup.notes / "Salt Roads.md", setup.notes / "Books/Roads.md");
    std::string file = readFile(setup.notes / "Books/Roads.md");
    const auto ids = blockIDs(file);
    ASSERT_EQ(ids.size(), 3u);
    const std::size_t from = file.find("<!-- notara:" + ids[1]);
    const std::size_t to = file.find("<!-- /notara:" + ids[1]);
    file.erase(from, file.find('\n', to) + 2 - from);
    writeFile(setup.notes / "Books/Roads.md", file);

    clips.push_back({"Salt Roads", 25, "Two and a half.", ""});
    setup.read(clips);
    const auto before = setup.files();
    const auto preview = setup.sync("obsidian", true);
    EXPECT_EQ(preview.text(),
              "1 file written, 0 new files, 1 highlight added, 0 edits kept, 0 removed at source");
    EXPECT_EQ(setup.files(), before); // a dry run writes nothing
    setup.sync();
    auto files = setup.files();
    ASSERT_EQ(files.size(), 1u); // found again under its new name, not written twice
    std::vector<std::string> order = blockIDs(files["Books/Roads.md"]);
    ASSERT_EQ(order.size(), 3u); // the deleted block stays deleted
    EXPECT_EQ(order[0], ids[0]);
    EXPECT_EQ(order[2], ids[2]);
    EXPECT_NE(files["Books/Roads.md"].find("Two and a half."), std::string::npos);

    // Nothing new: the file is not touched.
    const auto written = fs::last_write_time(setup.notes / "Books/Roads.md");
    EXPECT_EQ(setup.sync().text(),
              "0 files written, 0 new files, 0 highlights added, 0 edits kept, 0 removed at source");
    EXPECT_EQ(fs::last_write_time(setup.notes / "Books/Roads.md"), written);

    setup.sync("obsidian", false, true); // --restore
    order = blockIDs(setup.files()["Books/Roads.md"]);
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[1], ids[1]); // back between its neighbours

    // A file the reader deleted is not written again, until restored.
    fs::remove(setup.notes / "Books/Roads.md");
    clips.push_back({"Salt Roads", 50, "Five.", ""});
    setup.read(clips);
    setup.sync();
    EXPECT_TRUE(setup.files().empty());
    setup.sync("obsidian", false, true);
    EXPECT_EQ(setup.files().size(), 1u);
}

TEST(NotesSync, FiftyRoundsOfChangesOnBothSidesKeepEveryEditAndEveryHighlightOnce) {
    NotesFolder setup("sync-property");
    std::mt19937 random(42);
    const auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    std::vector<Clip> clips;
    int nextLocation = 0;
    for (int i = 0; i < 12; ++i)
        clips.push_back({"Book " + std::to_string(i % 3), (nextLocation += 10),
                         "Passage " + std::to_string(i) + ".", ""});
    std::vector<std::string> readerTexts; // every paragraph the reader wrote, each unique
    std::set<std::string> editedBlocks;   // blocks the reader changed: Notara must leave them
    setup.read(clips);
    setup.sync();
    for (int round = 0; round < 50; ++round) {
        // The source: highlights added anywhere in the book, notes changed, highlights removed.
        for (int n = static_cast<int>(pick(3)); n-- > 0;)
            clips.push_back({"Book " + std::to_string(pick(3)), static_cast<int>(pick(1000)) * 10 + 5,
                             "Added " + std::to_string(round) + "-" + std::to_string(n) + ".", ""});
        if (!clips.empty() && pick(2) == 0)
            clips[pick(clips.size())].note = "Note of round " + std::to_string(round);
        if (clips.size() > 4 && pick(3) == 0)
            clips.erase(clips.begin() + static_cast<std::ptrdiff_t>(pick(clips.size())));
        setup.read(clips);

        // The reader: paragraphs before, between and after blocks, an edited block, a renamed file,
        // a front matter key of their own.
        for (auto& [name, text] : setup.files()) {
            const fs::path path = setup.notes / name;
            std::string file = text;
            const auto ids = blockIDs(file);
            if (pick(2) == 0) {
                const std::string mine = "Reader paragraph " + std::to_string(readerTexts.size()) + ".\n\n";
                readerTexts.push_back(mine);
                // At a line start outside any block: before a begin marker, or at the end.
                std::size_t at = file.size();
                if (!ids.empty() && pick(3) != 0) at = file.find("<!-- notara:" + ids[pick(ids.size())]);
                file.insert(at, mine);
            }
            if (!ids.empty() && pick(4) == 0) {
                const std::string id = ids[pick(ids.size())];
                const std::size_t end = file.find("<!-- /notara:" + id);
                const std::string edit = "> Reader edit in " + id + " round " + std::to_string(round) + "\n";
                if (!editedBlocks.contains(id)) {
                    file.insert(end, edit);
                    editedBlocks.insert(id);
                    readerTexts.push_back(edit);
                }
            }
            if (pick(6) == 0) {
                const std::string key = "mykey" + std::to_string(readerTexts.size()) + ": yes\n";
                file.insert(file.find('\n') + 1 + file.substr(file.find('\n') + 1).find('\n') + 1, key);
                readerTexts.push_back(key);
            }
            writeFile(path, file);
            if (pick(8) == 0)
                fs::rename(path, path.parent_path() /
                                     ("renamed " + std::to_string(round) + " " + path.filename().string()));
        }
        setup.sync();

        const auto files = setup.files();
        std::string everything;
        for (const auto& [name, text] : files)
            everything += text;
        for (const std::string& mine : readerTexts)
            ASSERT_EQ(count(everything, mine), 1u) << "round " << round << ": lost or doubled: " << mine;
        const auto works = setup.library->works();
        ASSERT_EQ(files.size(), works.size()) << "round " << round;
        for (const WorkPtr& work : works) {
            const std::string uid = work->id.toString(QUuid::WithoutBraces).toUpper().toStdString();
            const auto file = std::find_if(files.begin(), files.end(),
                                           [&](auto& f) { return f.second.find(uid) != std::string::npos; });
            ASSERT_NE(file, files.end());
            std::vector<std::string> expected;
            for (const auto& a : AnnotationOrder::sorted(work->annotations, AnnotationOrder::Order::Book))
                expected.push_back(NoteTemplates::blockID(*a));
            EXPECT_EQ(blockIDs(file->second), expected) << "round " << round << " " << file->first;
            const std::string out = html(file->second);
            EXPECT_EQ(count(out, "<!-- notara:"), expected.size());
            // Each block the reader left alone reads as the template means it: a callout, then its id.
            for (const std::string& id : expected) {
                if (editedBlocks.contains(id)) continue;
                const std::string open = "<!-- notara:" + id + " -->\n";
                const std::size_t from = file->second.find(open) + open.size();
                const std::string inner =
                    file->second.substr(from, file->second.find("<!-- /notara:" + id) - from);
                const std::string block = html(inner);
                EXPECT_TRUE(block.starts_with("<blockquote>\n<p>[!quote]")) << block;
                EXPECT_TRUE(block.ends_with("<p>^" + id + "</p>\n")) << block;
            }
        }
    }
}

TEST(ExportFormats, CsvReadsBackWithPythonsCsvModuleAndAnkiHasItsHeaderLines) {
    NotesFolder setup("export-formats");
    setup.read({{"Salt Roads", 10, "A passage, with \"quotes\"\nand a line break.", "Note, too."},
                {"Café Noir", 40, "Ünïcode.", ""}});
    const QString library = QString::fromStdString((setup.root / "library.sqlite").string());
    const fs::path out = freshFolder("export-formats-out");
    const QString outArg = QString::fromStdString(out.string());
    CliRun csv = cli({"library", "export", "--format", "csv", "--out", outArg, "--library", library});
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    const std::string csvFile = csv.out.substr(0, csv.out.size() - 1);
    QProcess python;
    python.start("python3", {"-c",
                             "import csv, json, sys\n"
                             "rows = list(csv.reader(open(sys.argv[1], newline='', encoding='utf-8')))\n"
                             "print(json.dumps(rows))",
                             QString::fromStdString(csvFile)});
    ASSERT_TRUE(python.waitForFinished(30000));
    const QJsonArray rows = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].toArray().size(), 11);
    EXPECT_EQ(rows[0].toArray()[2].toString(), QStringLiteral("passage"));
    EXPECT_EQ(rows[1].toArray()[0].toString(), QStringLiteral("Café Noir"));
    EXPECT_EQ(rows[2].toArray()[2].toString(),
              QStringLiteral("A passage, with \"quotes\"\nand a line break."));
    EXPECT_EQ(rows[2].toArray()[3].toString(), QStringLiteral("Note, too."));
    EXPECT_EQ(rows[2].toArray()[6].toString(), QStringLiteral("10"));
    EXPECT_EQ(rows[2].toArray()[10].toString(), QStringLiteral("Kindle (My Clippings.txt)"));

    CliRun anki = cli({"library", "export", "--format", "anki", "--out", outArg, "--library", library});
    ASSERT_EQ(anki.exitCode, 0) << anki.err;
    const std::string deck = readFile(anki.out.substr(0, anki.out.size() - 1));
    EXPECT_TRUE(deck.starts_with("#separator:tab\n#html:false\n#columns:Front\tBack\n")) << deck;
    // A field with a line break is quoted, as Anki reads it.
    EXPECT_NE(deck.find("Ünïcode.\t\"Café Noir \u2014 Ada Okafor\nLocation 40\""), std::string::npos) << deck;
    CliRun json = cli({"library", "export", "--format", "json", "--out", outArg, "--library", library});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(
        QJsonDocument::fromJson(QByteArray::fromStdString(readFile(json.out.substr(0, json.out.size() - 1))))
            .array()
            .size(),
        2);
    EXPECT_EQ(cli({"library", "export", "--format", "pdf", "--library", library}).exitCode, 2);
}
