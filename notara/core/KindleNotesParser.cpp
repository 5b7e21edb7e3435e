#include "notara/core/KindleNotesParser.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include <QUuid>
#include <unicode/unistr.h>

#include "corvane/Report.h"
#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"
#include "html/nodes/NodeTraversor.h"
#include "html/nodes/NodeVisitor.h"
#include "html/parser/Parser.h"
#include "notara/core/Annotation.h"
#include "notara/core/SQLRow.h"

namespace notara {

namespace {

using ElementRef = html::Ref<html::Element>;

// ---- reading the file -------------------------------------------------------------------------

std::string readWholeFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        throw std::runtime_error("Could not read \"" + path.string() + "\": it is a folder, not a file");
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) throw std::runtime_error("Could not read \"" + path.string() + "\": " + std::strerror(errno));
    std::string bytes;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        long size = std::ftell(file);
        if (size > 0) bytes.reserve(static_cast<std::size_t>(size));
        std::rewind(file);
    }
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, got);
    bool failed = std::ferror(file);
    int error = errno;
    std::fclose(file);
    if (failed) throw std::runtime_error("Could not read \"" + path.string() + "\": " + std::strerror(error));
    return bytes;
}

// Offset of the first byte that does not belong to a well-formed UTF-8 sequence (no overlong
// forms, no surrogates, nothing above U+10FFFF), or npos when the whole text is valid.
std::size_t firstInvalidUtf8(std::string_view text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        // Exports are mostly ASCII markup: skip it eight bytes at a time.
        while (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, s + i, 8);
            if (word & 0x8080808080808080ULL) break;
            i += 8;
        }
        if (i >= n) break;
        unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        unsigned char low = 0x80, high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0) low = 0xA0;
            if (c == 0xED) high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;
        } else {
            return i;
        }
        if (i + length > n) return i;
        if (s[i + 1] < low || s[i + 1] > high) return i;
        for (std::size_t k = 2; k < length; ++k)
            if ((s[i + k] & 0xC0) != 0x80) return i;
        i += length;
    }
    return std::string_view::npos;
}

std::string readUtf8Text(const std::filesystem::path& path) {
    std::string bytes = readWholeFile(path);
    std::size_t bad = firstInvalidUtf8(bytes);
    if (bad != std::string_view::npos)
        throw std::runtime_error("Could not read \"" + path.string() +
                                 "\" as UTF-8 text: invalid byte at offset " + std::to_string(bad));
    // Some editors and the Windows app save a byte-order mark; it is not part of the page.
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
    return bytes;
}

// ---- recognising entries -----------------------------------------------------------------------

bool hasClassStartingWith(const html::Element& element, std::string_view prefix) {
    std::string_view classes = element.attr("class");
    std::size_t i = 0;
    while (i < classes.size()) {
        while (i < classes.size() && (classes[i] == ' ' || (classes[i] >= '\t' && classes[i] <= '\r')))
            ++i;
        std::size_t start = i;
        while (i < classes.size() && classes[i] != ' ' && !(classes[i] >= '\t' && classes[i] <= '\r'))
            ++i;
        std::string_view piece = classes.substr(start, i - start);
        if (piece.size() >= prefix.size()) {
            bool same = true;
            for (std::size_t k = 0; k < prefix.size() && same; ++k) {
                char a = piece[k];
                if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
                same = a == prefix[k];
            }
            if (same) return true;
        }
    }
    return false;
}

// The apps mark every highlight heading with a coloured span ("highlight_yellow" and so on),
// whatever the language of the heading.
class HighlightMarkFinder : public html::NodeVisitor {
public:
    bool found = false;
    void enter(html::Node& node, int) override {
        if (!found && node.isElement() &&
            hasClassStartingWith(static_cast<html::Element&>(node), "highlight_"))
            found = true;
    }
    void leave(html::Node&, int) override {}
};

icu::UnicodeString folded(std::string_view text) {
    icu::UnicodeString s =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    s.foldCase();
    return s;
}

bool containsAny(const icu::UnicodeString& haystack, std::initializer_list<const char*> words) {
    for (const char* word : words)
        if (haystack.indexOf(folded(word)) >= 0) return true;
    return false;
}

enum class EntryKind { Highlight, Note, Other };

EntryKind kindOfHeading(html::Element& heading) {
    HighlightMarkFinder finder;
    html::NodeTraversor(finder).traverse(heading);
    if (finder.found) return EntryKind::Highlight;

    // Hand-made pages lack the span: fall back on the heading's words, in the languages the apps
    // write. An unknown heading that carries a text is kept as a note, so nothing written is lost.
    icu::UnicodeString words = folded(heading.text(true));
    if (containsAny(words, {"Highlight", "Markierung", "Surlignement", "ハイライト"}))
        return EntryKind::Highlight;
    if (containsAny(words, {"Note", "Notiz", "メモ", "备注"})) return EntryKind::Note;
    if (containsAny(words, {"Bookmark", "Lesezeichen", "Signet", "ブックマーク", "书签"}))
        return EntryKind::Other;
    return EntryKind::Note;
}

// One heading and the text that follows it before the next heading (none for bookmarks and
// withheld passages).
struct Entry {
    ElementRef heading;
    ElementRef text;
};

// Walks the page once in document order. Desktop exports cross their end tags, so the parser
// puts each following section and note heading inside the still-open noteText; those nested
// headings are gathered so they can be kept out of the passage.
class EntryCollector : public html::NodeVisitor {
public:
    std::vector<Entry> entries;
    std::vector<ElementRef> nestedHeadings;

    void enter(html::Node& node, int) override {
        if (!node.isElement()) return;
        auto& element = static_cast<html::Element&>(node);
        bool noteHeading = element.hasClass("noteHeading");
        bool sectionHeading = !noteHeading && element.hasClass("sectionHeading");
        if (noteHeading || sectionHeading) {
            if (openTexts_ > 0) nestedHeadings.emplace_back(&element);
            if (noteHeading) entries.push_back(Entry{ElementRef(&element), {}});
            // A section heading ends the current entry: a text after it belongs to no heading.
            awaitingText_ = noteHeading;
        } else if (element.hasClass("noteText")) {
            ++openTexts_;
            textStack_.push_back(&element);
            if (awaitingText_) {
                entries.back().text = ElementRef(&element);
                awaitingText_ = false;
            }
        }
    }

    void leave(html::Node& node, int) override {
        if (!textStack_.empty() && textStack_.back() == &node) {
            textStack_.pop_back();
            --openTexts_;
        }
    }

private:
    bool awaitingText_ = false;
    int openTexts_ = 0;
    std::vector<const html::Node*> textStack_;
};

std::string newAnnotationID() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper().toStdString();
}

std::shared_ptr<Annotation> makeAnnotation(const std::string& text, const std::string& note) {
    SQLRow row;
    row["ZANNOTATIONUUID"] = newAnnotationID();
    row["ZANNOTATIONNOTE"] = note;
    row["ZANNOTATIONREPRESENTATIVETEXT"] = text;
    row["ZANNOTATIONSELECTEDTEXT"] = text;
    return std::make_shared<Annotation>(row);
}

std::vector<std::shared_ptr<Work>> importWork(const std::filesystem::path& path) {
    std::string page = readUtf8Text(path);
    auto document = html::parse(page, "");

    html::Elements titles = document->select(".bookTitle");
    if (titles.isEmpty()) return {};
    std::string title = titles.first()->text(true);
    html::Elements authors = document->select(".authors");
    std::string author = authors.isEmpty() ? std::string("No Author Found") : authors.first()->text(true);
    auto work = std::make_shared<Work>(title, author);

    EntryCollector collector;
    html::NodeTraversor(collector).traverse(*document);

    std::vector<EntryKind> kinds;
    kinds.reserve(collector.entries.size());
    for (const Entry& entry : collector.entries)
        kinds.push_back(entry.text ? kindOfHeading(*entry.heading) : EntryKind::Other);

    // Now the walk is over, take the nested headings out of the passages that swallowed them.
    for (ElementRef& heading : collector.nestedHeadings)
        heading->remove();

    std::vector<std::shared_ptr<Annotation>> annotations;
    // The highlight made by the entry just before, while it has no note yet.
    std::shared_ptr<Annotation> noteTarget;
    for (std::size_t i = 0; i < collector.entries.size(); ++i) {
        const Entry& entry = collector.entries[i];
        std::string text = entry.text ? entry.text->text(true) : std::string();
        if (text.empty() || kinds[i] == EntryKind::Other) {
            // Bookmarks and withheld passages yield nothing; a note after them has no highlight.
            noteTarget.reset();
            continue;
        }
        if (kinds[i] == EntryKind::Highlight) {
            noteTarget = makeAnnotation(text, std::string());
            annotations.push_back(noteTarget);
        } else if (noteTarget) {
            noteTarget->annotationUserNotes = text;
            noteTarget.reset();
        } else {
            // A note with no free highlight before it keeps its own annotation rather than being
            // dropped or overwriting another note.
            annotations.push_back(makeAnnotation(std::string(), text));
        }
    }
    work->annotations = std::move(annotations);
    return {work};
}

} // namespace

std::vector<std::shared_ptr<Work>> KindleNotesParser::parseWorks() const {
    if (!fileURL) return {};
    try {
        return importWork(*fileURL);
    } catch (const std::exception& error) {
        corvane::Report::line(error.what());
    } catch (...) {
        corvane::Report::line("Could not import the Kindle notebook \"" + fileURL->string() + "\"");
    }
    return {};
}

} // namespace notara
