#include "notara/core/sources/kindle/KindleNotesParser.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

#include <unicode/unistr.h>

#include "corvane/FileBytes.h"
#include "corvane/Report.h"
#include "html/nodes/Attributes.h"
#include "html/nodes/ClassNames.h"
#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/NodeArena.h"
#include "html/nodes/NodeTraversor.h"
#include "html/nodes/NodeVisitor.h"
#include "html/nodes/StringUtil.h"
#include "html/nodes/TextNode.h"
#include "html/parser/Parser.h"
#include "html/parser/Utf8.h"
#include "notara/core/model/Annotation.h"
#include "notara/core/model/AnnotationIDs.h"
#include "notara/core/model/SortKey.h"
#include "notara/core/sources/kindle/KindleHeading.h"

namespace notara {

namespace {

using ElementRef = html::Ref<html::Element>;

// ---- reading the file -------------------------------------------------------------------------

// The page in a mapping of its own: it goes back to the system whole once the tree is built,
// rather than staying in the heap under everything the import builds next.
corvane::FileBytes readUtf8Text(const std::filesystem::path& path) {
    corvane::FileBytes bytes = corvane::FileBytes::read(path);
    std::size_t bad = html::utf8::firstInvalid(bytes.view());
    if (bad != std::string_view::npos)
        throw std::runtime_error("Could not read \"" + path.string() +
                                 "\" as UTF-8 text: invalid byte at offset " + std::to_string(bad));
    return bytes;
}

// Some editors and the Windows app save a byte-order mark; it is not part of the page.
std::string_view withoutByteOrderMark(std::string_view bytes) {
    return bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
}

// ---- recognising entries -----------------------------------------------------------------------

// The colour of a "highlight_<colour>" class of the element (lower-case), empty when it has
// none; `marked` tells whether it has such a class at all.
std::string_view highlightColor(const html::Element& element, bool& marked) {
    static constexpr std::string_view prefix = "highlight_";
    static constexpr std::string_view colors[] = {"yellow", "blue", "pink", "orange", "green", "purple"};
    const html::Attributes* attributes = element.attributesIfPresent();
    if (!attributes) return {};
    for (std::string_view name : html::ClassNames(attributes->get("class"))) {
        if (!html::StringUtil::startsWithIgnoreCase(name, prefix)) continue;
        marked = true;
        for (std::string_view known : colors) {
            if (html::StringUtil::equalsIgnoreCase(name.substr(prefix.size()), known)) return known;
        }
        return {};
    }
    return {};
}

icu::UnicodeString folded(std::string_view text) {
    icu::UnicodeString s =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    s.foldCase();
    return s;
}

enum class EntryKind { Highlight, Note, Other };

// The heading words of the languages the apps write, case-folded once.
struct HeadingWords {
    std::vector<icu::UnicodeString> highlight, note, bookmark;

    static const HeadingWords& get() {
        static const HeadingWords words = [] {
            HeadingWords w;
            for (const char* word : {"Highlight", "Markierung", "Surlignement", "ハイライト"})
                w.highlight.push_back(folded(word));
            for (const char* word : {"Note", "Notiz", "メモ", "备注"})
                w.note.push_back(folded(word));
            for (const char* word : {"Bookmark", "Lesezeichen", "Signet", "ブックマーク", "书签"})
                w.bookmark.push_back(folded(word));
            return w;
        }();
        return words;
    }

    static bool containsAny(const icu::UnicodeString& text, const std::vector<icu::UnicodeString>& words) {
        for (const auto& word : words)
            if (text.indexOf(word) >= 0) return true;
        return false;
    }
};

// Hand-made pages lack the coloured span that marks every highlight heading the apps write:
// decide by the heading's words instead. An unknown heading that carries a text is kept as a
// note, so nothing the reader wrote is lost.
EntryKind kindFromWords(std::string_view heading) {
    const HeadingWords& words = HeadingWords::get();
    icu::UnicodeString text = folded(heading);
    if (HeadingWords::containsAny(text, words.highlight)) return EntryKind::Highlight;
    if (HeadingWords::containsAny(text, words.note)) return EntryKind::Note;
    if (HeadingWords::containsAny(text, words.bookmark)) return EntryKind::Other;
    return EntryKind::Note;
}

// One heading and the text that follows it before the next heading (none for bookmarks and
// withheld passages).
struct Entry {
    ElementRef heading;
    ElementRef text;
    std::string_view color;     // of its "highlight_..." element (one of highlightColor's names)
    std::string headingText;    // the heading's own text, without a passage nested in it
    std::uint32_t section = 0;  // the last section heading before the entry (in `sections`)
    bool highlightMark = false; // the heading holds a "highlight_..." element
};

// Walks the page once in document order, finding the title, the author and the entries by class
// on any element. Desktop exports cross their end tags, so the parser puts each following section
// and note heading inside the still-open noteText; those nested headings are gathered so they can
// be kept out of the passage.
class PageWalker : public html::NodeVisitor {
public:
    ElementRef title;
    ElementRef author;
    std::vector<Entry> entries;
    std::vector<ElementRef> nestedHeadings;
    std::vector<std::string> sections{std::string()}; // 0: before the first section heading

    void enter(html::Node& node, int) override {
        if (node.isTextNode()) {
            // Desktop exports nest the passage inside the heading; only what comes before it
            // is the heading's.
            if (heading_ && texts_.size() == headingTextDepth_)
                entries.back().headingText += static_cast<html::TextNode&>(node).getWholeText();
            return;
        }
        if (!node.isElement()) return;
        auto& element = static_cast<html::Element&>(node);
        if (!element.hasAttributes()) return;
        if (heading_ && texts_.size() == headingTextDepth_ && !entries.back().highlightMark) {
            bool marked = false;
            const std::string_view color = highlightColor(element, marked);
            if (marked) {
                entries.back().highlightMark = true;
                entries.back().color = color;
            }
        }

        bool noteHeading = element.hasClass("noteHeading");
        bool sectionHeading = !noteHeading && element.hasClass("sectionHeading");
        if (noteHeading || sectionHeading) {
            if (!texts_.empty()) nestedHeadings.emplace_back(&element);
            if (sectionHeading) {
                // Kept once, however many entries follow it.
                sections.push_back(KindleHeading::collapseAsciiSpace(element.text(false)));
                section_ = static_cast<std::uint32_t>(sections.size() - 1);
            }
            if (noteHeading) {
                Entry entry{ElementRef(&element), {}, {}, {}, section_, false};
                entries.push_back(std::move(entry));
                heading_ = &element;
                headingTextDepth_ = texts_.size();
            }
            // A section heading ends the current entry: a text after it belongs to no heading.
            awaitingText_ = noteHeading;
        } else if (element.hasClass("noteText")) {
            texts_.push_back(&element);
            if (awaitingText_) {
                entries.back().text = ElementRef(&element);
                awaitingText_ = false;
            }
        } else if (!title && element.hasClass("bookTitle")) {
            title = &element;
        } else if (!author && element.hasClass("authors")) {
            author = &element;
        }
    }

    void leave(html::Node& node, int) override {
        if (&node == heading_) heading_ = nullptr;
        // A heading nested in the passage of an earlier one ends inside it.
        if (!texts_.empty() && texts_.back() == &node) texts_.pop_back();
    }

private:
    bool awaitingText_ = false;
    const html::Node* heading_ = nullptr; // the note heading being walked
    std::size_t headingTextDepth_ = 0;    // texts_.size() when it began
    std::uint32_t section_ = 0;
    std::vector<const html::Node*> texts_; // the noteText elements being walked
};

// Where an entry is, as its heading says, kept small: one is held per entry beside the tree and
// the passages. A chapter the heading names is kept once, in `Chapters`.
struct EntryPlace {
    std::string page;
    std::optional<std::int32_t> location;
    std::uint32_t chapter = 0; // 0: the heading names none
};

class Chapters {
public:
    std::uint32_t indexOf(std::string chapter) {
        if (chapter.empty()) return 0;
        if (const auto known = indexes_.find(chapter); known != indexes_.end()) return known->second;
        const auto index = static_cast<std::uint32_t>(names_.size());
        indexes_.emplace(names_.emplace_back(std::move(chapter)), index);
        return index;
    }
    const std::string& operator[](std::uint32_t index) const { return names_[index]; }

private:
    std::deque<std::string> names_{std::string()}; // a deque: the index's views of them stay valid
    std::unordered_map<std::string_view, std::uint32_t> indexes_;
};

// Fills the context members of `annotation` from the entry it was made from.
void setContext(Annotation& annotation, const Entry& entry, const EntryPlace& place,
                const std::vector<std::string>& sections, const Chapters& chapters) {
    if (annotation.annotationKind == Annotation::Kind::Highlight) annotation.annotationColor = entry.color;
    annotation.annotationChapter = place.chapter == 0 ? sections[entry.section] : chapters[place.chapter];
    annotation.annotationPage = place.page;
    annotation.annotationLocation = place.location;
}

// Book order of a notebook: by location, where an annotation without one stays after the one
// before it.
void setPositions(const std::vector<std::shared_ptr<Annotation>>& annotations) {
    std::int64_t last = 0;
    for (const auto& annotation : annotations) {
        if (annotation->annotationLocation) last = *annotation->annotationLocation;
        annotation->annotationPosition.key.clear();
        SortKey::appendNumber(annotation->annotationPosition.key,
                              static_cast<std::uint64_t>(std::max<std::int64_t>(last, 0)));
    }
}

std::vector<std::shared_ptr<Work>> importWork(const std::filesystem::path& path) {
    // Everything the model needs is taken from the tree first, and the page and the tree go before
    // the model is built: the three are never held at once.
    std::shared_ptr<Work> work;
    std::vector<Entry> entries;
    std::vector<EntryKind> kinds;
    std::vector<EntryPlace> places;
    Chapters chapters;
    std::vector<std::string> texts;
    std::vector<std::string> sections;
    {
        PageWalker walker;
        html::Ref<html::Document> document;
        {
            const corvane::FileBytes page = readUtf8Text(path);
            document = html::parse(withoutByteOrderMark(page.view())); // the tree keeps copies of its texts
        }
        html::NodeTraversor(walker).traverse(document.get());
        if (!walker.title) return {};
        work =
            std::make_shared<Work>(walker.title->text(true), walker.author ? walker.author->text(true)
                                                                           : std::string("No Author Found"));

        // Decide every kind and read every heading while the headings still stand where the page
        // put them.
        kinds.reserve(walker.entries.size());
        places.reserve(walker.entries.size());
        for (Entry& entry : walker.entries) {
            entry.headingText = KindleHeading::collapseAsciiSpace(entry.headingText);
            if (!entry.text)
                kinds.push_back(EntryKind::Other);
            else
                kinds.push_back(entry.highlightMark ? EntryKind::Highlight
                                                    : kindFromWords(entry.headingText));
            if (kinds.back() == EntryKind::Other) {
                places.emplace_back();
            } else {
                KindleHeading heading = KindleHeading::parse(entry.headingText);
                places.push_back({std::move(heading.page), Annotation::locationNumber(heading.location),
                                  chapters.indexOf(std::move(heading.chapter))});
            }
            std::string().swap(entry.headingText); // its room goes to the passages read next
        }

        // Take the nested headings out of the passages that swallowed them, then read the passages.
        for (ElementRef& heading : walker.nestedHeadings)
            heading->remove();
        texts.reserve(walker.entries.size());
        for (std::size_t i = 0; i < walker.entries.size(); ++i) {
            texts.push_back(kinds[i] == EntryKind::Other ? std::string()
                                                         : walker.entries[i].text->text(true));
            walker.entries[i].heading = nullptr;
            walker.entries[i].text = nullptr;
        }
        entries = std::move(walker.entries);
        sections = std::move(walker.sections);
    }
    // The tree's memory goes back to the system, not to a later parse: the model comes next.
    html::NodeArena::releaseKeptBlocks();
    work->workSource = "Kindle Notebook";

    AnnotationIDs ids;
    std::vector<std::shared_ptr<Annotation>> annotations;
    annotations.reserve(entries.size());
    // The highlight made by the entry just before, while it has no note yet.
    std::shared_ptr<Annotation> noteTarget;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::string text = std::move(texts[i]);
        if (text.empty()) {
            // Bookmarks and withheld passages yield nothing; a note after them has no highlight.
            noteTarget.reset();
            continue;
        }
        if (kinds[i] == EntryKind::Highlight) {
            noteTarget = std::make_shared<Annotation>(ids.next(), std::move(text), std::string());
            setContext(*noteTarget, entries[i], places[i], sections, chapters);
            annotations.push_back(noteTarget);
        } else if (noteTarget) {
            // The highlight's own heading keeps saying where it is.
            noteTarget->annotationUserNotes = std::move(text);
            noteTarget.reset();
        } else {
            // A note with no free highlight before it keeps its own annotation rather than being
            // dropped or overwriting another note.
            auto note = std::make_shared<Annotation>(ids.next(), std::string(), std::move(text));
            setContext(*note, entries[i], places[i], sections, chapters);
            annotations.push_back(std::move(note));
        }
    }
    setPositions(annotations);
    work->annotations = std::move(annotations);
    return {work};
}

} // namespace

std::vector<std::shared_ptr<Work>> KindleNotesParser::parseWorks(std::string* problem) const {
    if (!fileURL) return {};
    std::string why;
    try {
        auto works = importWork(*fileURL);
        if (!works.empty()) return works;
        why = "It has no book title, so it is not a Kindle Notebook export.";
    } catch (const std::exception& error) {
        why = error.what();
        corvane::Report::line(why);
    } catch (...) {
        why = "Could not import the Kindle notebook \"" + fileURL->string() + "\"";
        corvane::Report::line(why);
    }
    if (problem) *problem = std::move(why);
    return {};
}

} // namespace notara
