#include "notara/core/sources/clippings/ClippingsReader.h"

#include "html/parser/Utf8.h"
#include "notara/core/model/AnnotationIDs.h"
#include "notara/core/model/SortKey.h"
#include "notara/core/sources/clippings/ClippingsDate.h"

#include "html/nodes/StringUtil.h"

#include <QString>

#include <algorithm>
#include <array>
#include <fstream>
#include <map>
#include <optional>

namespace notara {

namespace {

enum class Kind { Highlight, Note, Bookmark };

// One record of the file, before notes are paired with their highlights.
struct Record {
    std::string title, author;
    Kind kind = Kind::Highlight;
    std::string page;
    std::optional<std::int64_t> start, end; // location range
    std::string text;
    DateText created;
};

bool isSpace(char c) {
    return html::StringUtil::isActuallyWhitespace(c);
}

// ASCII blanks and the ideographic space U+3000 at either end.
std::string_view trim(std::string_view text) {
    static constexpr std::string_view ideographicSpace = "\xE3\x80\x80";
    auto blankAtFront = [&]() -> std::size_t {
        if (!text.empty() && isSpace(text.front())) return 1;
        return text.starts_with(ideographicSpace) ? ideographicSpace.size() : 0;
    };
    auto blankAtBack = [&]() -> std::size_t {
        if (!text.empty() && isSpace(text.back())) return 1;
        return text.ends_with(ideographicSpace) ? ideographicSpace.size() : 0;
    };
    while (const std::size_t n = blankAtFront())
        text.remove_prefix(n);
    while (const std::size_t n = blankAtBack())
        text.remove_suffix(n);
    return text;
}

// The text with every byte-order mark dropped and every line ending a line feed, copied a
// run at a time between the bytes that need attention.
std::string cleaned(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    size_t from = 0;
    while (from < text.size()) {
        const size_t at = text.find_first_of("\r\xEF", from);
        if (at == std::string_view::npos) {
            result.append(text.substr(from));
            break;
        }
        result.append(text.substr(from, at - from));
        if (text[at] == '\r') {
            result += '\n';
            from = at + (text.substr(at).starts_with("\r\n") ? 2 : 1);
        } else if (text.substr(at).starts_with("\xEF\xBB\xBF")) {
            from = at + 3;
        } else {
            result += text[at];
            from = at + 1;
        }
    }
    return result;
}

// "Title (Author)": the author is the last balanced parenthesised group at the end.
void splitTitle(std::string_view line, Record& record) {
    line = trim(line);
    if (line.ends_with(')')) {
        int depth = 0;
        for (size_t i = line.size(); i-- > 0;) {
            if (line[i] == ')') ++depth;
            if (line[i] == '(' && --depth == 0) {
                record.author = std::string(trim(line.substr(i + 1, line.size() - i - 2)));
                record.title = std::string(trim(line.substr(0, i)));
                return;
            }
        }
    }
    record.title = std::string(line);
}

// The first number at or after `from`, with the byte after it.
std::optional<std::int64_t> numberAt(std::string_view text, size_t& from) {
    while (from < text.size() && !html::StringUtil::isAsciiDigit(text[from]))
        ++from;
    if (from >= text.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; from < text.size() && html::StringUtil::isAsciiDigit(text[from]); ++from) {
        if (value < 100000000000) value = value * 10 + (text[from] - '0');
    }
    return value;
}

// "5444-45" is 5444 to 5445: a shorter end takes the start's leading digits.
std::int64_t expandedEnd(std::int64_t start, std::int64_t end, size_t endDigits) {
    if (end >= start) return end;
    size_t startDigits = 0;
    for (std::int64_t rest = start; rest > 0; rest /= 10)
        ++startDigits;
    // Only a shorter end is an abbreviation; anything else is a range that runs backwards.
    if (endDigits == 0 || endDigits >= startDigits) return start;
    std::int64_t scale = 1;
    for (size_t i = 0; i < endDigits; ++i)
        scale *= 10;
    std::int64_t expanded = start - start % scale + end;
    if (expanded < start) expanded += scale;
    return expanded;
}

void readLocation(std::string_view field, Record& record) {
    size_t at = 0;
    record.start = numberAt(field, at);
    if (!record.start) return;
    record.end = record.start;
    // A range: "-", the en dash, or Dutch " t/m ".
    std::string_view rest = field.substr(at);
    size_t skip = 0;
    if (rest.starts_with("-"))
        skip = 1;
    else if (rest.starts_with("\xE2\x80\x93"))
        skip = 3;
    else if (rest.starts_with(" t/m "))
        skip = 5;
    if (skip == 0) return;
    size_t from = skip;
    const size_t digitsAt = from;
    if (from < rest.size() && html::StringUtil::isAsciiDigit(rest[from])) {
        if (const auto end = numberAt(rest, from))
            record.end = expandedEnd(*record.start, *end, from - digitsAt);
    }
}

// The number right before `wordAt`, blanks between allowed ("133ページ", "第 22 页").
std::string_view numberBefore(std::string_view field, size_t wordAt) {
    size_t j = wordAt;
    while (j > 0 && isSpace(field[j - 1]))
        --j;
    size_t i = j;
    while (i > 0 && html::StringUtil::isAsciiDigit(field[i - 1]))
        --i;
    return field.substr(i, j - i);
}

// Pages are labels ("xii", "136"): the first number or roman numeral after the page word,
// or before it; Chinese and Japanese write the number first ("第 22 页（位置 #290-291）").
std::string pageLabel(std::string_view field, size_t wordAt, size_t wordLength, bool numberFirst) {
    if (numberFirst && !numberBefore(field, wordAt).empty()) return std::string(numberBefore(field, wordAt));
    auto isLabel = [](char c) {
        return html::StringUtil::isAsciiDigit(c) ||
               std::string_view("ivxlcdmIVXLCDM").find(c) != std::string_view::npos;
    };
    size_t i = wordAt + wordLength;
    while (i < field.size() && !isLabel(field[i]) && field[i] != '|')
        ++i;
    size_t j = i;
    while (j < field.size() && isLabel(field[j]))
        ++j;
    if (j > i) return std::string(field.substr(i, j - i));
    return std::string(numberBefore(field, wordAt));
}

void readMetadata(std::string_view line, Record& record, ClippingsDate& dates) {
    // The kind is named in the first field ("- Your Note on page 7 |", "- 133ページ|...のメモ |").
    const std::string lower = html::StringUtil::lowerCaseAscii(line.substr(0, line.find('|')));
    if (html::StringUtil::containsAny(lower, {"bookmark", "lesezeichen", "signet", "segnalibro", "marcador",
                                              "bladwijzer", "закладка", "ブックマーク", "书签"}))
        record.kind = Kind::Bookmark;
    else if (html::StringUtil::containsAny(lower,
                                           {"note", "notiz", "nota", "notitie", "заметка", "メモ", "笔记"}))
        record.kind = Kind::Note;
    // Fields split at "|"; the page and location words say which is which.
    size_t begin = 0;
    while (begin <= line.size()) {
        size_t end = line.find('|', begin);
        if (end == std::string_view::npos) end = line.size();
        const std::string_view field = line.substr(begin, end - begin);
        const std::string lowerField = html::StringUtil::lowerCaseAscii(field);
        // Cyrillic capitals are not lowered with ASCII, so both cases are listed.
        static constexpr std::string_view pageWords[] = {"page",    "seite",   "página", "pagina",
                                                         "страниц", "Страниц", "ページ", "页"};
        size_t pageAt = std::string::npos;
        std::string_view pageWord;
        for (std::string_view word : pageWords) {
            const size_t at = lowerField.find(word);
            if (at < pageAt) {
                pageAt = at;
                pageWord = word;
            }
        }
        for (std::string_view word : {"location", "loc.", "position", "emplacement", "posición", "posizione",
                                      "posição", "locatie", "место", "месте", "Место", "Месте", "位置"}) {
            const size_t at = lowerField.find(word);
            if (!record.start && at != std::string::npos) {
                // "Location na página 17 | posição 251-252": a page after the word is no location.
                readLocation(field.substr(at, pageAt > at ? pageAt - at : std::string::npos), record);
                break;
            }
        }
        if (record.page.empty() && pageAt != std::string::npos)
            record.page = pageLabel(field, pageAt, pageWord.size(), pageWord == "ページ" || pageWord == "页");
        begin = end + 1;
    }
    const size_t lastBar = line.rfind('|');
    if (lastBar != std::string_view::npos) record.created = dates.parse(line.substr(lastBar + 1));
}

bool overlaps(const Record& a, const Record& b) {
    if (a.start && b.start) return *a.start <= *b.end && *b.start <= *a.end;
    return !a.start && !b.start && !a.page.empty() && a.page == b.page;
}

// An extended highlight holds the shorter one, except perhaps for the shorter one's final
// punctuation ("a promise." became "a promise, and ...").
bool oneContainsTheOther(std::string_view a, std::string_view b) {
    auto core = [](std::string_view text) {
        while (!text.empty() && std::string_view(".,;:!?\"' ").find(text.back()) != std::string_view::npos)
            text.remove_suffix(1);
        return text;
    };
    a = core(a);
    b = core(b);
    if (a.empty() || b.empty()) return false;
    return a.find(b) != std::string_view::npos || b.find(a) != std::string_view::npos;
}

} // namespace

std::vector<WorkPtr> ClippingsReader::read(std::string_view bytes) {
    return html::utf8::firstInvalid(bytes) == std::string_view::npos
               ? readValid(bytes)
               : readValid(html::utf8::repaired(bytes, html::utf8::Repair::MaximalSubpart));
}

std::vector<WorkPtr> ClippingsReader::readValid(std::string_view valid) {
    const std::string text = cleaned(valid);
    std::vector<Record> records;
    ClippingsDate dates;
    size_t lineStart = 0;
    std::vector<std::string_view> lines;
    auto finishRecord = [&] {
        size_t first = 0;
        while (first < lines.size() && trim(lines[first]).empty())
            ++first;
        if (lines.size() - first >= 2) {
            Record record;
            splitTitle(lines[first], record);
            readMetadata(lines[first + 1], record, dates);
            std::string body;
            for (size_t i = first + 2; i < lines.size(); ++i) {
                if (i > first + 2 || !trim(lines[i]).empty()) body += std::string(lines[i]) + '\n';
            }
            record.text = std::string(trim(body));
            records.push_back(std::move(record));
        }
        lines.clear();
    };
    while (lineStart <= text.size()) {
        size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos) lineEnd = text.size();
        const std::string_view line(text.data() + lineStart, lineEnd - lineStart);
        if (trim(line) == "==========")
            finishRecord();
        else
            lines.push_back(line);
        lineStart = lineEnd + 1;
    }
    finishRecord(); // the end of the file closes the last record

    // Per book, in file order: highlights (an edited one replaces the earlier record), notes
    // (a later draft at the same place replaces the earlier one).
    struct Book {
        WorkPtr work;
        std::vector<Record> entries;
    };
    std::map<std::pair<std::string, std::string>, Book> books;
    for (Record& record : records) {
        if (record.kind == Kind::Bookmark) continue;
        if (record.kind == Kind::Highlight && record.text.empty()) continue;
        Book& book = books[{record.title, record.author}];
        if (!book.work) {
            book.work = std::make_shared<Work>(record.title, record.author);
            book.work->workSource = "Kindle Clippings";
        }
        auto& entries = book.entries;
        bool replaced = false;
        // Edits and drafts follow soon after what they replace: look back a little way only.
        const size_t oldest = entries.size() > 64 ? entries.size() - 64 : 0;
        for (size_t i = entries.size(); i-- > oldest && !replaced;) {
            Record& earlier = entries[i];
            if (earlier.kind != record.kind) {
                if (record.kind == Kind::Note && earlier.kind == Kind::Highlight)
                    break; // a highlight in between
                continue;
            }
            if (record.kind == Kind::Highlight && overlaps(earlier, record) &&
                oneContainsTheOther(earlier.text, record.text)) {
                earlier = std::move(record);
                replaced = true;
            } else if (record.kind == Kind::Note && earlier.start == record.start &&
                       earlier.page == record.page) {
                earlier = std::move(record);
                replaced = true;
            }
        }
        if (!replaced) entries.push_back(std::move(record));
    }

    std::vector<WorkPtr> works;
    AnnotationIDs ids;
    for (auto& [key, book] : books) {
        auto& entries = book.entries;
        std::vector<std::shared_ptr<Annotation>> annotations(entries.size());
        std::vector<bool> isNote(entries.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            isNote[i] = entries[i].kind == Kind::Note;
            if (isNote[i]) continue;
            auto annotation = std::make_shared<Annotation>(ids.next(), entries[i].text, "");
            annotation->annotationPage = entries[i].page;
            annotation->annotationLocation = Annotation::locationNumber(entries[i].start);
            annotation->annotationCreated = entries[i].created;
            annotations[i] = std::move(annotation);
        }
        // A note belongs to the highlight of its book whose range ends at its location, else
        // contains it, wherever its record stands: firmware writes notes before or after their
        // highlight, and readers add notes weeks later. Of several, the nearest in the file
        // without a note yet; with no locations at all, one on the same page.
        std::multimap<std::int64_t, size_t> byEnd;
        for (size_t j = 0; j < entries.size(); ++j)
            if (!isNote[j] && entries[j].end) byEnd.emplace(*entries[j].end, j);
        const auto nearest = [&](size_t i, auto&& fits, auto&& candidates) {
            std::optional<size_t> best;
            candidates([&](size_t j) {
                if (isNote[j] || !annotations[j]->annotationUserNotes.empty() || !fits(entries[j])) return;
                const auto distance = [i](size_t k) { return k > i ? k - i : i - k; };
                if (!best || distance(j) < distance(*best)) best = j;
            });
            return best;
        };
        // For the second choice, highlights by start; a Kindle highlight spans a few hundred
        // locations at most, so only the nearest starts before the note are looked at.
        std::vector<std::pair<std::int64_t, size_t>> byStart;
        std::multimap<std::string, size_t> byPage;
        for (size_t j = 0; j < entries.size(); ++j) {
            if (isNote[j]) continue;
            if (entries[j].start)
                byStart.emplace_back(*entries[j].start, j);
            else if (!entries[j].page.empty())
                byPage.emplace(entries[j].page, j);
        }
        std::sort(byStart.begin(), byStart.end());
        constexpr size_t startsLookedAt = 4096;
        for (size_t i = 0; i < entries.size(); ++i) {
            if (!isNote[i]) continue;
            const Record& note = entries[i];
            std::optional<size_t> owner;
            if (note.start) {
                owner = nearest(
                    i, [](const Record&) { return true; },
                    [&](auto&& visit) {
                        const auto [from, to] = byEnd.equal_range(*note.start);
                        for (auto it = from; it != to; ++it)
                            visit(it->second);
                    });
                if (!owner)
                    owner = nearest(
                        i, [&](const Record& h) { return h.end && *note.start <= *h.end; },
                        [&](auto&& visit) {
                            auto it = std::upper_bound(byStart.begin(), byStart.end(),
                                                       std::pair{*note.start, entries.size()});
                            for (size_t seen = 0; it != byStart.begin() && seen < startsLookedAt; ++seen)
                                visit((--it)->second);
                        });
            } else if (!note.page.empty()) {
                owner = nearest(
                    i, [](const Record&) { return true; },
                    [&](auto&& visit) {
                        const auto [from, to] = byPage.equal_range(note.page);
                        for (auto it = from; it != to; ++it)
                            visit(it->second);
                    });
            }
            if (owner) {
                Annotation& owned = *annotations[*owner];
                owned.annotationUserNotes = note.text;
                if (owned.annotationCreated < note.created) owned.annotationModified = note.created;
            } else {
                auto lone = std::make_shared<Annotation>(ids.next(), "", note.text);
                lone->annotationPage = note.page;
                lone->annotationLocation = Annotation::locationNumber(note.start);
                lone->annotationCreated = note.created;
                annotations[i] = std::move(lone);
            }
        }
        for (auto& annotation : annotations) {
            if (!annotation) continue;
            SortKey::appendNumber(annotation->annotationPosition.key,
                                  static_cast<std::uint64_t>(
                                      std::max<std::int64_t>(annotation->annotationLocation.value_or(0), 0)));
            book.work->annotations.push_back(std::move(annotation));
        }
        works.push_back(book.work);
    }
    std::stable_sort(works.begin(), works.end(),
                     [](const WorkPtr& a, const WorkPtr& b) { return a->workTitle < b->workTitle; });
    return works;
}

namespace {

constexpr std::uintmax_t largestFile = std::uintmax_t{1} << 30;

// The file's text as UTF-8, or a sentence saying why it is not text this reader can take.
std::string utf8Text(std::string bytes, std::string& problem) {
    const bool littleEndian = bytes.starts_with("\xFF\xFE"), bigEndian = bytes.starts_with("\xFE\xFF");
    if (littleEndian || bigEndian) {
        // Saved again as "Unicode" by an editor: the byte-order mark says exactly how to read it.
        std::u16string units((bytes.size() - 2) / 2, u'\0');
        for (size_t i = 0; i < units.size(); ++i) {
            const auto first = static_cast<unsigned char>(bytes[2 + 2 * i]);
            const auto second = static_cast<unsigned char>(bytes[3 + 2 * i]);
            units[i] = static_cast<char16_t>(littleEndian ? first | second << 8 : first << 8 | second);
        }
        return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size())).toStdString();
    }
    // A copy cut short may end inside a character; anything else invalid is another encoding.
    const size_t invalid = html::utf8::firstInvalid(bytes);
    if (bytes.find('\0') != std::string::npos ||
        (invalid != std::string::npos && invalid + 4 < bytes.size())) {
        problem = "The file is not UTF-8 text, the encoding a Kindle writes; it may have been saved again in "
                  "another encoding.";
        return {};
    }
    return invalid == std::string::npos ? bytes
                                        : html::utf8::repaired(bytes, html::utf8::Repair::MaximalSubpart);
}

} // namespace

std::vector<WorkPtr> ClippingsReader::readFile(const std::filesystem::path& path, std::string& problem) {
    problem.clear();
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in) {
        problem = "The file cannot be read" + (ec ? ": " + ec.message() + "." : std::string("."));
        return {};
    }
    if (size > largestFile) {
        problem = "The file is too large to be a Kindle's clippings file.";
        return {};
    }
    std::string bytes(static_cast<size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (bytes.empty()) {
        problem = "The file is empty.";
        return {};
    }
    const std::string text = utf8Text(std::move(bytes), problem);
    if (!problem.empty()) return {};
    if (text.find("==========") == std::string::npos) {
        problem = "It holds no clippings: a Kindle's My Clippings.txt lists its entries between lines of "
                  "\"==========\".";
        return {};
    }
    std::vector<WorkPtr> works = readValid(text);
    if (works.empty()) problem = "It holds bookmarks only, no highlight or note.";
    return works;
}

} // namespace notara
