#include "notara/core/sources/koreader/KoreaderSource.h"

#include "notara/core/model/ContentHash.h"
#include "notara/core/model/SortKey.h"
#include "notara/core/sources/SourceKeys.h"
#include "notara/core/sources/koreader/LuaLiteral.h"

#include "html/parser/Utf8.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace notara {

namespace {

constexpr std::uintmax_t largestSidecar = std::uintmax_t{256} << 20;

std::string utf8(std::string_view bytes) {
    return html::utf8::repaired(bytes, html::utf8::Repair::MaximalSubpart);
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return utf8(text.substr(first, last - first + 1));
}

// "2025-03-04 21:12:40", the device's local time without a zone, in the form every date takes.
DateText dateOf(std::string_view text) {
    if (text.size() != 19 || text[4] != '-' || text[10] != ' ') return {};
    std::string iso(text);
    iso[10] = 'T';
    iso += 'Z';
    return DateText(iso);
}

std::string colourOf(std::string_view colour, std::string_view drawer) {
    if (drawer == "underscore") return "underline";
    static const std::map<std::string_view, std::string_view> names{
        {"yellow", "yellow"}, {"orange", "orange"}, {"red", "pink"},  {"green", "green"},
        {"olive", "green"},   {"cyan", "blue"},     {"blue", "blue"}, {"purple", "purple"},
        {"gray", ""},         {"grey", ""}};
    const auto found = names.find(colour);
    return found != names.end() ? std::string(found->second) : std::string();
}

// Book order from where a highlight starts: the numbers of an xpointer
// ("/body/DocFragment[7]/body/p[12]/text().18": 7, 12, 18, a missing index counting 1), or a
// fixed layout's page, then y and x.
std::string positionKey(const LuaLiteral* start) {
    std::string key;
    if (!start) return key;
    if (start->isNumber()) {
        SortKey::appendNumber(key, static_cast<std::uint64_t>(std::max<std::int64_t>(start->integer, 0)));
        return key;
    }
    if (start->isTable()) {
        for (const char* field : {"page", "y", "x"}) {
            const LuaLiteral* value = start->get(field);
            const double number = !value                                     ? 0
                                  : value->type == LuaLiteral::Type::Integer ? value->integer
                                                                             : value->real;
            SortKey::appendNumber(key, static_cast<std::uint64_t>(std::max(number, 0.0)));
        }
        return key;
    }
    const std::string_view path = start->text();
    if (path.find("DocFragment") == std::string_view::npos) SortKey::appendNumber(key, 1);
    bool stepOpen = false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '/') {
            if (stepOpen) SortKey::appendNumber(key, 1);
            stepOpen = i + 1 < path.size() && path.substr(i + 1, 4) != "text";
        } else if (c == '[' || c == '.') {
            std::uint64_t number = 0;
            std::size_t k = i + 1;
            while (k < path.size() && path[k] >= '0' && path[k] <= '9' && number < (1ULL << 40))
                number = number * 10 + static_cast<std::uint64_t>(path[k++] - '0');
            if (k > i + 1) {
                SortKey::appendNumber(key, number);
                stepOpen = false;
            }
            i = k - 1;
        }
    }
    return key;
}

std::optional<std::string> readBytes(const fs::path& file, std::string& problem) {
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (ec) {
        problem = ec.message();
        return std::nullopt;
    }
    if (size > largestSidecar) {
        problem = "it is larger than any sidecar KOReader writes";
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!in) {
        problem = "it could not be read";
        return std::nullopt;
    }
    return bytes;
}

struct Sidecar {
    fs::path file;
    fs::file_time_type written;
    LuaLiteral root;
};

// The highlights of one sidecar as annotations of `work`, in the file's order.
void readAnnotations(const LuaLiteral& root, const std::string& bookKey, Work& work) {
    const auto add = [&](std::string_view text, std::string_view note, const LuaLiteral* start,
                         std::string_view datetime, std::string_view updated, std::string_view colour,
                         std::string_view drawer, std::string_view chapter, std::string page, bool bookmark) {
        auto annotation = std::make_shared<Annotation>(std::string(datetime), trimmed(text), trimmed(note));
        annotation->annotationColor = colourOf(colour, drawer);
        annotation->annotationChapter = trimmed(chapter);
        annotation->annotationPage = std::move(page);
        annotation->annotationCreated = dateOf(datetime);
        annotation->annotationModified = updated.empty() ? DateText() : dateOf(updated);
        annotation->annotationPosition.key = positionKey(start);
        if (start && start->isString()) annotation->annotationLocationRawText = utf8(start->text());
        ContentHash key;
        key.add(bookKey).add(datetime).add(bookmark ? "bookmark" : "highlight");
        annotation->annotationKey = "koreader:" + key.hex();
        work.annotations.push_back(std::move(annotation));
    };
    const auto pageOf = [](const LuaLiteral& item) {
        if (const LuaLiteral* ref = item.get("pageref"); ref && ref->isString()) return utf8(ref->text());
        if (const LuaLiteral* number = item.get("pageno"); number && number->asInteger())
            return std::to_string(*number->asInteger());
        return std::string();
    };
    if (const LuaLiteral* annotations = root.get("annotations")) {
        for (const LuaLiteral* item : annotations->sequence()) {
            if (!item->isTable()) continue;
            const LuaLiteral* drawer = item->get("drawer");
            const LuaLiteral* start = item->get("pos0") ? item->get("pos0") : item->get("page");
            const std::string_view note = item->get("note") ? item->get("note")->text() : std::string_view();
            const bool bookmark = !drawer && !item->get("pos0");
            if (bookmark && trimmed(note).empty()) continue; // a page bookmark without a note is no highlight
            const std::string_view text = bookmark            ? std::string_view()
                                          : item->get("text") ? item->get("text")->text()
                                                              : "";
            add(text, note, start, item->get("datetime") ? item->get("datetime")->text() : "",
                item->get("datetime_updated") ? item->get("datetime_updated")->text() : "",
                item->get("color") ? item->get("color")->text() : "", drawer ? drawer->text() : "",
                item->get("chapter") ? item->get("chapter")->text() : "", pageOf(*item), bookmark);
        }
        return;
    }
    // The older layout: highlights by page, their notes in `bookmarks` with the meanings of
    // `notes` (the passage) and `text` (the note, or a text KOReader made up) swapped.
    std::map<std::string, std::string, std::less<>> notes;
    if (const LuaLiteral* bookmarks = root.get("bookmarks")) {
        for (const LuaLiteral* item : bookmarks->sequence()) {
            if (!item->isTable() || !item->get("datetime")) continue;
            const std::string_view datetime = item->get("datetime")->text();
            const std::string_view passage = item->get("notes") ? item->get("notes")->text() : "";
            const std::string note = trimmed(item->get("text") ? item->get("text")->text() : "");
            const bool madeUp = note.empty() || note == trimmed(passage) ||
                                (note.ends_with("@ " + std::string(datetime)) &&
                                 note.find(trimmed(passage)) != std::string::npos);
            if (!madeUp) notes.emplace(std::string(datetime), note);
        }
    }
    if (const LuaLiteral* highlight = root.get("highlight")) {
        std::vector<std::pair<std::int64_t, const LuaLiteral*>> pages;
        for (const LuaLiteral::Entry& entry : highlight->fields)
            if (entry.value.isTable()) pages.emplace_back(entry.key.asInteger().value_or(0), &entry.value);
        std::stable_sort(pages.begin(), pages.end(), [](auto& a, auto& b) { return a.first < b.first; });
        for (const auto& [page, items] : pages) {
            for (const LuaLiteral* item : items->sequence()) {
                if (!item->isTable()) continue;
                const std::string_view datetime = item->get("datetime") ? item->get("datetime")->text() : "";
                const auto note = notes.find(datetime);
                add(item->get("text") ? item->get("text")->text() : "",
                    note != notes.end() ? note->second : "", item->get("pos0") ? item->get("pos0") : nullptr,
                    datetime, "", "", item->get("drawer") ? item->get("drawer")->text() : "",
                    item->get("chapter") ? item->get("chapter")->text() : "", std::to_string(page), false);
            }
        }
    }
}

} // namespace

std::vector<fs::path> KoreaderSource::sidecars(const fs::path& place, std::size_t limit) {
    std::vector<fs::path> found;
    std::error_code ec;
    fs::recursive_directory_iterator it(place, fs::directory_options::skip_permission_denied, ec), end;
    for (; !ec && it != end && found.size() < limit; it.increment(ec)) {
        if (it.depth() > 24) {
            it.disable_recursion_pending();
            continue;
        }
        const fs::path& path = it->path();
        const std::string name = path.filename().string();
        if (name.starts_with("metadata.") && name.ends_with(".lua") &&
            path.parent_path().extension() == ".sdr" && it->is_regular_file(ec))
            found.push_back(path);
    }
    std::sort(found.begin(), found.end());
    return found;
}

SourceRead KoreaderSource::read(const fs::path& place) const {
    SourceRead read;
    read.kind = kind();
    read.place = place;
    read.name = "KOReader";
    std::error_code ec;
    if (!fs::is_directory(place, ec)) {
        read.problem = "It is not a folder.";
        return read;
    }
    // One sidecar per book: the newest where a book has several (beside it and in docsettings).
    std::map<std::string, Sidecar> books;
    std::size_t damaged = 0;
    for (const fs::path& file : sidecars(place)) {
        std::optional<LuaLiteral> root;
        std::string problem;
        for (const fs::path& candidate : {file, fs::path(file.string() + ".old")}) {
            if (candidate != file && !fs::exists(candidate, ec)) break;
            std::string why;
            if (const auto bytes = readBytes(candidate, why)) root = LuaLiteral::parse(*bytes, why);
            if (root && root->isTable()) break;
            root.reset();
            if (problem.empty()) problem = why;
        }
        if (!root) {
            ++damaged;
            read.warnings.push_back("The KOReader sidecar \"" + file.string() + "\" is damaged (" + problem +
                                    "); it was skipped.");
            continue;
        }
        const LuaLiteral* checksum = root->get("partial_md5_checksum");
        const std::string key =
            checksum && checksum->isString() ? std::string(checksum->text()) : file.string();
        const auto written = fs::last_write_time(file, ec);
        auto& slot = books[key];
        if (slot.file.empty() || written > slot.written) slot = {file, written, std::move(*root)};
    }
    for (auto& [checksum, sidecar] : books) {
        const LuaLiteral* props = sidecar.root.get("doc_props");
        std::string title = trimmed(props && props->get("title") ? props->get("title")->text() : "");
        std::string authors = trimmed(props && props->get("authors") ? props->get("authors")->text() : "");
        for (std::size_t at; (at = authors.find('\n')) != std::string::npos;)
            authors.replace(at, 1, ", ");
        if (title.empty()) {
            // The book's file name: the sidecar folder's name without ".sdr".
            title = utf8(sidecar.file.parent_path().stem().string());
        }
        auto work = std::make_shared<Work>(title, authors);
        work->workSource = "KOReader";
        // The book beside its sidecar ("Salt Roads.sdr/metadata.epub.lua" beside "Salt Roads.epub"),
        // else where KOReader last saw it, when that is on this computer.
        const std::string name = sidecar.file.filename().string(); // metadata.<ext>.lua
        const std::string extension = name.substr(9, name.size() - 9 - 4);
        const fs::path beside = sidecar.file.parent_path().parent_path() /
                                (sidecar.file.parent_path().stem().string() + "." + extension);
        const LuaLiteral* docPath = sidecar.root.get("doc_path");
        std::error_code exists;
        if (fs::is_regular_file(beside, exists))
            work->workBookFile = beside.string();
        else if (docPath && docPath->isString() && fs::is_regular_file(std::string(docPath->text()), exists))
            work->workBookFile = std::string(docPath->text());
        work->workKey = checksum.size() == 32 ? checksum : SourceKeys::workMatchKey(title, authors);
        readAnnotations(sidecar.root, work->workKey, *work);
        if (!work->annotations.empty()) read.works.push_back(std::move(work));
    }
    std::stable_sort(read.works.begin(), read.works.end(),
                     [](const WorkPtr& a, const WorkPtr& b) { return a->workTitle < b->workTitle; });
    if (read.works.empty()) {
        read.problem = damaged > 0 ? "Its KOReader sidecars are damaged: " + read.warnings.front()
                                   : "It holds no KOReader highlight.";
        return read;
    }
    SourceKeys::makeUnique(read);
    // Recognised by a book it holds rather than by where it lies: the first checksum in order.
    read.key = "koreader:" + books.begin()->first;
    SourceKeys::fingerprint(read);
    return read;
}

} // namespace notara
