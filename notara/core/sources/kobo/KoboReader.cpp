#include "notara/core/sources/kobo/KoboReader.h"

#include "html/parser/Utf8.h"
#include "notara/core/model/DateText.h"
#include "notara/core/model/SortKey.h"
#include "notara/core/sources/books/BooksWorkingCopy.h"
#include "notara/core/sqlite/SQLiteManager.h"

#include "corvane/Corvane.h"
#include "html/nodes/StringUtil.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <unordered_map>

namespace fs = std::filesystem;

namespace notara {

namespace {

// "2025-02-04T17:16:33.795", "2025-02-04T17:16:33Z": the device's UTC time to the second;
// empty, NULL and the "0000-00-00..." default mean no date.
DateText dateOf(std::string_view text) {
    if (text.size() < 19) return {};
    static constexpr std::string_view shape = "dddd-dd-ddTdd:dd:dd";
    for (size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == 'd' ? !html::StringUtil::isAsciiDigit(text[i]) : text[i] != shape[i]) return {};
    }
    if (text.starts_with("0000")) return {};
    std::string iso(text.substr(0, 19));
    iso += 'Z';
    return DateText(iso);
}

// Colour numbers of the colour firmware; grey is what greyscale devices write for every
// highlight, so it says nothing about the reader's choice.
std::string colourOf(std::optional<std::int64_t> number) {
    switch (number.value_or(-1)) {
    case 0: return "yellow";
    case 1: return "pink";
    case 2: return "blue";
    case 3: return "green";
    default: return {};
    }
}

bool isHidden(std::string_view value) {
    return html::StringUtil::equalsIgnoreCase(value, "true") || value == "1";
}

// A part's title that is only its file's path ("epub/text/chapter-3.xhtml") names no chapter.
bool isFilePath(std::string_view title, std::string_view contentID) {
    if (contentID.ends_with(title)) return true;
    for (std::string_view extension : {".xhtml", ".html", ".htm", ".xml"}) {
        if (html::StringUtil::endsWithIgnoreCase(title, extension)) return true;
    }
    return false;
}

// The book's title when its own row is gone: the file name of a side-loaded book's id.
std::string titleFromVolume(std::string_view volumeID) {
    std::string_view name = volumeID;
    if (const size_t slash = name.rfind('/'); slash != std::string_view::npos) name.remove_prefix(slash + 1);
    for (std::string_view extension : {".kepub.epub", ".epub", ".pdf", ".kepub"}) {
        if (name.size() > extension.size() && html::StringUtil::endsWithIgnoreCase(name, extension)) {
            name.remove_suffix(extension.size());
            break;
        }
    }
    return std::string(html::StringUtil::trim(name));
}

// Reading order inside a book: the fraction of the book, then the numbers of the kepub span
// ("span#kobo\.204\.1") and the offset in it, then the time.
std::string positionKey(double progress, std::string_view startPath, std::int64_t offset) {
    std::string key;
    const double fraction = std::isfinite(progress) ? std::clamp(progress, 0.0, 1.0) : 0.0;
    SortKey::appendNumber(key, static_cast<std::uint64_t>(std::llround(fraction * 1e9)), 1);
    for (size_t i = 0; i < startPath.size();) {
        if (!html::StringUtil::isAsciiDigit(startPath[i])) {
            ++i;
            continue;
        }
        std::uint64_t number = 0;
        for (; i < startPath.size() && html::StringUtil::isAsciiDigit(startPath[i]); ++i) {
            if (number < 1000000000000ull) number = number * 10 + static_cast<unsigned>(startPath[i] - '0');
        }
        SortKey::appendNumber(key, number, 1);
    }
    key += '\0'; // the path's numbers end before the offset's
    SortKey::appendNumber(key, static_cast<std::uint64_t>(std::max<std::int64_t>(offset, 0)));
    return key;
}

// Maps looked up with the cells' bytes, without making a string of each.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};
template <typename Value> using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

// The cell's text, trimmed, as valid UTF-8.
std::string trimmedText(std::string_view raw) {
    return html::utf8::repaired(html::StringUtil::trim(raw), html::utf8::Repair::MaximalSubpart);
}

struct Content {
    std::string title, author;
};

struct TocEntry {
    std::string id, title;
    std::int64_t volumeIndex;
};

std::string columnOr(const std::set<std::string>& columns, const std::string& name, const char* fallback) {
    return columns.contains(name) ? "b." + name : std::string(fallback);
}

} // namespace

fs::path KoboReader::workingFolder() {
    const std::string documents = corvane::Corvane::appDocumentsPath();
    return documents.empty() ? fs::path() : fs::path(documents) / "Kobo";
}

std::vector<WorkPtr> KoboReader::readFile(const fs::path& database, const fs::path& workingFolder,
                                          std::string& problem) {
    problem.clear();
    std::error_code ec;
    if (!fs::is_regular_file(database, ec)) {
        problem = "The file cannot be read" + (ec ? ": " + ec.message() + "." : std::string("."));
        return {};
    }
    if (!BooksWorkingCopy::isSQLiteDatabase(database)) {
        problem = "It is not a Kobo database: not an SQLite file.";
        return {};
    }
    if (workingFolder.empty()) {
        problem = "There is no folder for the application's copy of the database.";
        return {};
    }
    fs::create_directories(workingFolder, ec);
    const fs::path copy = workingFolder / "KoboReader.sqlite";
    if (!BooksWorkingCopy::copyDatabase(database, copy, problem)) return {};
    return readCopy(copy, problem);
}

std::vector<WorkPtr> KoboReader::readCopy(const fs::path& copy, std::string& problem) {
    problem.clear();
    auto db = SQLiteManager::open(SQLiteManager::fileURI(copy));
    if (!db) {
        problem = "The database cannot be opened.";
        return {};
    }
    const std::vector<std::string> tables = db->listTables();
    auto hasTable = [&](std::string_view name) {
        return std::any_of(tables.begin(), tables.end(), [&](const std::string& table) {
            return html::StringUtil::equalsIgnoreCase(table, name);
        });
    };
    if (db->rowsIncomplete()) {
        problem = std::string("The database is damaged or incomplete (") + sqlite3_errmsg(db->db) + ").";
        return {};
    }
    if (!hasTable("Bookmark") || !hasTable("content")) {
        problem = "It is not a Kobo database: it has no Bookmark and content tables.";
        return {};
    }
    const auto bookmarkColumns = db->listColumns("Bookmark");
    const std::set<std::string> columns(bookmarkColumns.begin(), bookmarkColumns.end());
    for (const char* needed : {"BookmarkID", "VolumeID", "ContentID", "Text", "Annotation"}) {
        if (!columns.contains(needed)) {
            problem =
                std::string("It is not a Kobo database this version knows: its Bookmark table has no ") +
                needed + " column.";
            return {};
        }
    }
    const std::set<std::string> contentColumns = [&] {
        const auto names = db->listColumns("content");
        return std::set<std::string>(names.begin(), names.end());
    }();

    // Books and the parts and table-of-contents entries that name their chapters.
    TextMap<Content> books;
    TextMap<std::string> partTitles;
    std::vector<TocEntry> toc;
    const bool hasAttribution = contentColumns.contains("Attribution");
    const bool hasVolumeIndex = contentColumns.contains("VolumeIndex");
    const std::string contentQuery = std::string("SELECT ContentID, CAST(ContentType AS TEXT), Title, ") +
                                     (hasAttribution ? "Attribution" : "NULL") + ", " +
                                     (hasVolumeIndex ? "VolumeIndex" : "0") +
                                     " FROM content WHERE CAST(ContentType AS TEXT) IN ('6', '9', '899')";
    bool ok = db->forEachRow(contentQuery, {}, [&](const SQLiteManager::Cursor& row) {
        const std::string_view type = row.raw(1);
        std::string title = trimmedText(row.raw(2));
        if (type == "6") {
            books[row.text(0)] = {std::move(title), trimmedText(row.raw(3))};
        } else if (type == "899") {
            toc.push_back({row.text(0), std::move(title), row.integer(4).value_or(0)});
        } else if (!title.empty() && !isFilePath(title, row.raw(0))) {
            partTitles[row.text(0)] = std::move(title);
        }
    });
    ok = ok && !db->rowsIncomplete();
    std::sort(toc.begin(), toc.end(), [](const TocEntry& a, const TocEntry& b) { return a.id < b.id; });
    // The ToC entry of the part: its id followed by "-" or "#", the lowest VolumeIndex;
    // compared as strings, since ids are full of characters SQL patterns treat specially.
    auto chapterOf = [&](std::string_view contentID) -> std::string {
        const TocEntry* best = nullptr;
        for (char separator : {'-', '#'}) {
            std::string prefix(contentID);
            prefix += separator;
            auto it = std::lower_bound(
                toc.begin(), toc.end(), prefix,
                [](const TocEntry& entry, const std::string& key) { return entry.id < key; });
            for (; it != toc.end() && it->id.starts_with(prefix); ++it) {
                if (!it->title.empty() && (!best || it->volumeIndex < best->volumeIndex)) best = &*it;
            }
        }
        if (best) return best->title;
        const auto part = partTitles.find(contentID);
        return part != partTitles.end() ? part->second : std::string();
    };

    // Grouped by book as they come; devices write a book's annotations together, so the
    // previous row's book and chapter usually serve the next.
    TextMap<std::string> chapters; // by ContentID, looked up once
    TextMap<WorkPtr> works;        // by VolumeID
    std::vector<WorkPtr> ordered;
    Work* lastWork = nullptr;
    std::string lastVolume;
    const std::string* lastChapter = nullptr;
    std::string lastContent;
    const bool hasColour = columns.contains("Color");
    const std::string bookmarkQuery =
        "SELECT b.BookmarkID, b.VolumeID, b.ContentID, b.Text, b.Annotation, " +
        columnOr(columns, "DateCreated", "NULL") + ", " + columnOr(columns, "DateModified", "NULL") + ", " +
        columnOr(columns, "ChapterProgress", "0") + ", " + columnOr(columns, "Hidden", "NULL") + ", " +
        columnOr(columns, "Type", "NULL") + ", " + columnOr(columns, "Color", "NULL") + ", " +
        columnOr(columns, "StartContainerPath", "NULL") + ", " + columnOr(columns, "StartOffset", "0") +
        " FROM Bookmark b";
    ok = ok && db->forEachRow(bookmarkQuery, {}, [&](const SQLiteManager::Cursor& row) {
        if (isHidden(row.raw(8))) return;
        const std::string_view type = row.raw(9);
        if (html::StringUtil::equalsIgnoreCase(type, "dogear") ||
            html::StringUtil::equalsIgnoreCase(type, "markup"))
            return;
        std::string passage = trimmedText(row.raw(3));
        std::string note = trimmedText(row.raw(4));
        if (passage.empty() && note.empty()) return;
        auto annotation = std::make_shared<Annotation>(row.text(0), std::move(passage), std::move(note));
        annotation->annotationCreated = dateOf(row.raw(5));
        annotation->annotationModified = dateOf(row.raw(6));
        if (hasColour) annotation->annotationColor = colourOf(row.integer(10));
        const std::string_view contentID = row.raw(2);
        if (!lastChapter || contentID != lastContent) {
            auto chapter = chapters.find(contentID);
            if (chapter == chapters.end()) chapter = chapters.emplace(contentID, chapterOf(contentID)).first;
            lastChapter = &chapter->second;
            lastContent = contentID;
        }
        annotation->annotationChapter = *lastChapter;
        annotation->annotationPosition.key =
            positionKey(row.real(7).value_or(0), row.raw(11), row.integer(12).value_or(0));

        const std::string_view volumeID = row.raw(1);
        if (!lastWork || volumeID != lastVolume) {
            auto work = works.find(volumeID);
            if (work == works.end()) {
                const auto book = books.find(volumeID);
                auto made = book != books.end() && !book->second.title.empty()
                                ? std::make_shared<Work>(book->second.title, book->second.author)
                                : std::make_shared<Work>(titleFromVolume(html::utf8::repaired(
                                                             volumeID, html::utf8::Repair::MaximalSubpart)),
                                                         std::string());
                made->workSource = "Kobo";
                made->workKey = std::string(volumeID);
                ordered.push_back(made);
                work = works.emplace(volumeID, std::move(made)).first;
            }
            lastWork = work->second.get();
            lastVolume = volumeID;
        }
        lastWork->annotations.push_back(std::move(annotation));
    });
    if (!ok || db->rowsIncomplete()) {
        problem = std::string("The database is damaged or incomplete (") + sqlite3_errmsg(db->db) + ").";
        return {};
    }

    // Reading order, then the time, then the device's own order.
    for (const WorkPtr& work : ordered) {
        std::stable_sort(work->annotations.begin(), work->annotations.end(),
                         [](const AnnotationPtr& x, const AnnotationPtr& y) {
                             if (x->annotationPosition.key != y->annotationPosition.key)
                                 return x->annotationPosition.key < y->annotationPosition.key;
                             return x->annotationCreated < y->annotationCreated;
                         });
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const WorkPtr& a, const WorkPtr& b) { return a->workTitle < b->workTitle; });
    if (ordered.empty()) problem = "It holds no highlight or note.";
    return ordered;
}

} // namespace notara
