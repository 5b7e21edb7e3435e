#include "notara/core/sources/calibre/CalibreSource.h"

#include "notara/core/model/SortKey.h"
#include "notara/core/sources/JsonAnnotations.h"
#include "notara/core/sources/SourceKeys.h"
#include "notara/core/sources/books/BooksWorkingCopy.h"
#include "notara/core/sqlite/SQLiteManager.h"

#include "corvane/Corvane.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <map>

namespace fs = std::filesystem;

namespace notara {

namespace {

constexpr qint64 largestFile = qint64{64} << 20;

struct Highlight {
    QJsonObject data;
    double timestamp = 0;
};

// One highlight of calibre's JSON as an annotation, or null for a tombstone, a bookmark or the
// reading position.
AnnotationPtr annotationOf(const QJsonObject& item) {
    if (item.value("type").toString() != QStringLiteral("highlight") || item.value("removed").toBool())
        return nullptr;
    const std::string passage = JsonAnnotations::text(item.value("highlighted_text"));
    const std::string note = JsonAnnotations::text(item.value("notes"));
    if (passage.empty() && note.empty()) return nullptr;
    const std::string uuid = item.value("uuid").toString().toStdString();
    auto annotation = std::make_shared<Annotation>(uuid, passage, note);
    const QJsonArray titles = item.value("toc_family_titles").toArray();
    if (!titles.isEmpty()) annotation->annotationChapter = JsonAnnotations::text(titles.last());
    const QJsonObject style = item.value("style").toObject();
    annotation->annotationColor =
        style.isEmpty() ? "yellow" : JsonAnnotations::colour(style.value("which").toString().toStdString());
    // calibre keeps only when a highlight was last written.
    annotation->annotationModified = JsonAnnotations::date(item.value("timestamp"));
    const int spine = item.value("spine_index").toInt(-1);
    const std::string start = item.value("start_cfi").toString().toStdString();
    if (spine >= 0) {
        annotation->annotationPosition.spineIndex = spine;
        // The standard form: the spine step in front of the path inside the spine item.
        const std::string inner = start.starts_with("/2") ? start.substr(2) : start;
        annotation->annotationLocationRawText =
            "epubcfi(/6/" + std::to_string(2 * (spine + 1)) + "!" + inner + ")";
        std::string key;
        SortKey::appendNumber(key, static_cast<std::uint64_t>(spine));
        annotation->annotationPosition.key =
            key + JsonAnnotations::cfiKey(annotation->annotationLocationRawText);
    }
    annotation->annotationKey = "calibre:" + uuid;
    return annotation;
}

double timestampOf(const QJsonObject& item) {
    return static_cast<double>(
        QDateTime::fromString(item.value("timestamp").toString(), Qt::ISODateWithMs).toSecsSinceEpoch());
}

void sortByPlace(Work& work) {
    std::stable_sort(work.annotations.begin(), work.annotations.end(),
                     [](const AnnotationPtr& a, const AnnotationPtr& b) {
                         return a->annotationPosition.key < b->annotationPosition.key;
                     });
}

void readLibrary(const fs::path& database, SourceRead& read) {
    const std::string folder = corvane::Corvane::appDocumentsPath();
    if (folder.empty()) {
        read.problem = "There is no folder for the application's copy of the library.";
        return;
    }
    const fs::path copy = fs::path(folder) / "calibre" / "metadata.db";
    std::error_code ec;
    fs::create_directories(copy.parent_path(), ec);
    if (!BooksWorkingCopy::copyDatabase(database, copy, read.problem)) return;
    const auto db = SQLiteManager::open(SQLiteManager::fileURI(copy));
    if (!db) {
        read.problem = "Its metadata.db could not be opened.";
        return;
    }
    const auto tables = db->listTables();
    if (std::find(tables.begin(), tables.end(), "annotations") == tables.end()) {
        read.problem = "Its metadata.db has no annotations (calibre 5 or later writes them).";
        return;
    }
    // Each book's file (the first format, EPUB before the others) and the folder it lies in.
    std::map<std::int64_t, std::pair<std::string, std::string>> files; // format, path below the library
    if (std::find(tables.begin(), tables.end(), "data") != tables.end())
        db->forEachRow(
            "SELECT d.book, d.format, b.path || '/' || d.name || '.' || lower(d.format) FROM data d "
            "JOIN books b ON b.id = d.book ORDER BY d.book, d.format <> 'EPUB', d.id",
            {}, [&](const SQLiteManager::Cursor& row) {
                files.emplace(row.integer(0).value_or(0), std::pair{row.text(1), row.text(2)});
            });
    // calibre names a library in its links by the folder's name, hex-encoded.
    std::string libraryName;
    for (const unsigned char c : database.parent_path().filename().string()) {
        static constexpr char hex[] = "0123456789abcdef";
        libraryName += hex[c >> 4];
        libraryName += hex[c & 15];
    }
    std::map<std::int64_t, std::vector<std::string>> authors;
    db->forEachRow(
        "SELECT l.book, a.name FROM books_authors_link l JOIN authors a ON a.id = l.author ORDER BY l.id", {},
        [&](const SQLiteManager::Cursor& row) {
            authors[row.integer(0).value_or(0)].push_back(row.text(1));
        });
    struct Book {
        WorkPtr work;
        std::map<std::string, Highlight> highlights; // by format and id: the newest copy
    };
    std::map<std::int64_t, Book> books;
    std::string libraryID;
    if (std::find(tables.begin(), tables.end(), "library_id") != tables.end())
        db->forEachRow("SELECT uuid FROM library_id LIMIT 1", {},
                       [&](const SQLiteManager::Cursor& row) { libraryID = row.text(0); });
    const bool ok = db->forEachRow(
        "SELECT a.book, a.format, a.annot_id, a.timestamp, a.annot_data, b.title FROM annotations a "
        "JOIN books b ON b.id = a.book WHERE a.annot_type = 'highlight' ORDER BY a.book, a.id",
        {}, [&](const SQLiteManager::Cursor& row) {
            const std::int64_t id = row.integer(0).value_or(0);
            Book& book = books[id];
            if (!book.work) {
                std::string names;
                for (const std::string& name : authors[id])
                    names += (names.empty() ? "" : ", ") + name;
                book.work = std::make_shared<Work>(row.text(5), names);
                book.work->workSource = "calibre";
                book.work->workKey = std::to_string(id);
                book.work->workID = std::to_string(id);
                if (const auto file = files.find(id); file != files.end()) {
                    book.work->workBookFile = (database.parent_path() / file->second.second).string();
                    book.work->workReaderURL = "calibre://view-book/_hex_-" + libraryName + "/" +
                                               std::to_string(id) + "/" + file->second.first;
                }
            }
            const QJsonObject data = QJsonDocument::fromJson(QByteArray::fromStdString(row.text(4))).object();
            const double timestamp = row.real(3).value_or(0);
            Highlight& kept = book.highlights[row.text(1) + '\x1f' + row.text(2)];
            if (kept.data.isEmpty() || timestamp >= kept.timestamp) kept = {data, timestamp};
        });
    if (!ok || db->rowsIncomplete()) {
        read.problem = "Its metadata.db is damaged or incomplete.";
        return;
    }
    for (auto& [id, book] : books) {
        // One highlight per id even when the book has several formats.
        std::map<std::string, AnnotationPtr> byUuid;
        for (const auto& [key, highlight] : book.highlights)
            if (auto annotation = annotationOf(highlight.data))
                byUuid[annotation->annotationID] = std::move(annotation);
        for (auto& [uuid, annotation] : byUuid)
            book.work->annotations.push_back(std::move(annotation));
        sortByPlace(*book.work);
        if (!book.work->annotations.empty()) read.works.push_back(book.work);
    }
    read.key = "calibre:" + (libraryID.empty() ? std::string("library") : libraryID);
    read.name = "calibre library";
}

void readViewerFolder(const fs::path& folder, SourceRead& read) {
    std::error_code ec;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".json" && it->is_regular_file(ec)) files.push_back(it->path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        QFile in(QString::fromStdString(file.string()));
        if (in.size() > largestFile || !in.open(QIODevice::ReadOnly)) continue;
        const QJsonDocument document = QJsonDocument::fromJson(in.readAll());
        if (!document.isArray()) {
            read.warnings.push_back("The calibre file \"" + file.string() +
                                    "\" could not be read; it was skipped.");
            continue;
        }
        // The file names its book only by a hash of the book's path.
        const std::string hash = file.stem().string();
        auto work = std::make_shared<Work>("Book " + hash.substr(0, 8), "");
        work->workSource = "calibre";
        work->workKey = hash;
        std::map<std::string, std::pair<double, QJsonObject>> newest;
        for (const QJsonValue& value : document.array()) {
            const QJsonObject item = value.toObject();
            const std::string uuid = item.value("uuid").toString().toStdString();
            auto& kept = newest[uuid];
            if (kept.second.isEmpty() || timestampOf(item) >= kept.first) kept = {timestampOf(item), item};
        }
        for (const auto& [uuid, item] : newest)
            if (auto annotation = annotationOf(item.second))
                work->annotations.push_back(std::move(annotation));
        sortByPlace(*work);
        if (!work->annotations.empty()) read.works.push_back(std::move(work));
    }
    read.key = "calibre-viewer";
    read.name = "calibre E-book viewer";
}

} // namespace

SourceRead CalibreSource::read(const fs::path& place) const {
    SourceRead read;
    read.kind = kind();
    read.place = place;
    std::error_code ec;
    if (fs::is_regular_file(place, ec) && place.filename() == "metadata.db")
        readLibrary(place, read);
    else if (fs::is_regular_file(place / "metadata.db", ec))
        readLibrary(place / "metadata.db", read);
    else if (fs::is_directory(place, ec))
        readViewerFolder(
            fs::is_directory(place / "viewer" / "annots", ec) ? place / "viewer" / "annots" : place, read);
    else
        read.problem = "It is neither a calibre library nor a folder of the viewer's annotations.";
    if (!read.problem.empty()) return read;
    if (read.works.empty()) {
        read.problem = "It holds no calibre highlight.";
        return read;
    }
    std::stable_sort(read.works.begin(), read.works.end(),
                     [](const WorkPtr& a, const WorkPtr& b) { return a->workTitle < b->workTitle; });
    SourceKeys::fingerprint(read);
    return read;
}

} // namespace notara
