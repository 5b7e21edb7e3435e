#pragma once

// Builds a synthetic Kindle Notebook export in the desktop layout (crossed </div> and </h3> end
// tags, single-quoted attributes, &middot; between page and location), so that benchmarks of the
// importer and of the HTML parser run on the same realistic input. Header-only and std-only, so any
// benchmark can include it whatever it links. The output is fully determined by the entry count
// and the seed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace notara {

class KindleExportGenerator {
public:
    // What an importer should find in the generated file.
    struct Counts {
        std::size_t highlights = 0;    // highlight headings with a passage
        std::size_t attachedNotes = 0; // notes right after a highlight that has none yet
        std::size_t separateNotes = 0; // second notes in a row: annotations of their own
        std::size_t bookmarks = 0;     // bookmark headings (empty noteText)
        std::size_t sections = 0;      // section headings
        std::size_t annotations() const { return highlights + separateNotes; }
    };

    explicit KindleExportGenerator(std::size_t entries = 20000, std::uint64_t seed = 0x4b696e646c65ULL)
        : entries_(entries), state_(seed ? seed : 1) {}

    // The whole export as UTF-8 bytes (about 400 bytes per entry).
    std::string generate() {
        counts_ = Counts{};
        std::string out;
        out.reserve(entries_ * 420 + 4096);
        out += kHead;
        out += "<div class='bookTitle'>The Tidewater Ledger: Notes on a Coast\n</div>\n"
               "<div class='authors'>\nHalloran-Ishikawa, Petra\n</div>\n</h1><hr />\n";

        unsigned page = 1;
        unsigned location = 10;
        int previous = kNone;
        for (std::size_t i = 0; i < entries_; ++i) {
            if (i % 40 == 0) {
                out += "<h2 class='sectionHeading'>Chapter ";
                out += std::to_string(i / 40 + 1);
                out += ": ";
                appendWords(out, 2 + next() % 3);
                out += "</h2>";
                ++counts_.sections;
            }
            int kind = pickKind(previous);
            location += 1 + next() % 12;
            if (next() % 3 == 0) ++page;
            switch (kind) {
            case kHighlight: {
                static constexpr std::string_view colours[] = {"yellow", "blue", "pink", "orange"};
                std::string_view colour = colours[next() % 4];
                out += "<h3 class='noteHeading'>Highlight (<span class='highlight_";
                out += colour;
                out += "'>";
                out += colour;
                out += "</span>) - ";
                appendPosition(out, page, location);
                out += "</div><div class='noteText'>";
                appendPassage(out, 220 + next() % 170);
                out += "</h3>\n";
                ++counts_.highlights;
                break;
            }
            case kNote:
                out += "<h3 class='noteHeading'>Note - ";
                appendPosition(out, page, location);
                out += "</div><div class='noteText'>";
                appendPassage(out, 40 + next() % 120);
                out += "</h3>\n";
                if (previous == kHighlight)
                    ++counts_.attachedNotes;
                else
                    ++counts_.separateNotes;
                break;
            default:
                out += "<h3 class='noteHeading'>Bookmark - ";
                appendPosition(out, page, location);
                out += "</div><div class='noteText'></h3>\n";
                ++counts_.bookmarks;
                break;
            }
            previous = kind;
        }
        out += "</div>\n</body>\n</html>\n";
        return out;
    }

    // Valid after generate().
    const Counts& counts() const { return counts_; }

private:
    enum { kNone, kHighlight, kNote, kBookmark };

    static constexpr std::string_view kHead =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
        "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"\n  \"XHTML1-s.dtd\" >\n"
        "<html xmlns=\"http://www.w3.org/TR/1999/REC-html-19990217\" >\n<head>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\" />\n<style>\n"
        ".bodyContainer { font-family: Arial, Helvetica, sans-serif; text-align: center; }\n"
        ".bookTitle { font-size: 32px; font-weight: 700; color: #333333; margin-top: 22px; }\n"
        ".sectionHeading { font-size: 24px; font-weight: 700; text-align: left; margin-top: 24px; }\n"
        ".noteHeading { font-size: 18px; font-weight: 700; text-align: left; margin-top: 20px; }\n"
        ".noteText { font-size: 18px; font-weight: 500; text-align: left; margin: 2px 0px 0px; }\n"
        ".highlight_yellow { color: rgb(247, 206, 0); }\n.highlight_blue { color: rgb(0, 146, 232); }\n"
        ".highlight_pink { color: rgb(255, 51, 170); }\n.highlight_orange { color: rgb(255, 140, 0); }\n"
        "</style>\n</head>\n<body>\n<div class='bodyContainer'>\n"
        "<h1><div class='notebookFor'>Notes and highlights for</div>\n";

    // Words with some non-ASCII text and character references, as real passages have.
    static constexpr std::string_view kWords[] = {
        "the",     "tide",    "ledger", "harbour",    "was",         "quiet",   "and",    "every",
        "boat",    "kept",    "its",    "own",        "count",       "of",      "salt",   "rope",
        "lantern", "weather", "north",  "fathoms",    "she",         "wrote",   "down",   "what",
        "river",   "said",    "before", "morning",    "café",        "naïve",   "Zürich", "señora",
        "&amp;",   "&#8212;", "&lt;",   "&rsquo;s",   "“marked”",    "—",       "shore",  "island",
        "compass", "drift",   "chart",  "soundings",  "keel",        "mast",    "gull",   "reef",
        "ebb",     "flood",   "anchor", "lighthouse", "cartography", "patient", "small",  "grey"};

    std::uint32_t next() {
        // xorshift64*: fast, deterministic and good enough to vary the text.
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return static_cast<std::uint32_t>((state_ * 0x2545F4914F6CDD1DULL) >> 32);
    }

    int pickKind(int previous) {
        unsigned roll = next() % 100;
        if (roll < 4) return kBookmark;
        if (roll < 24 && previous != kNone) return kNote;
        return kHighlight;
    }

    void appendWords(std::string& out, unsigned count) {
        for (unsigned w = 0; w < count; ++w) {
            if (w) out += ' ';
            out += kWords[next() % std::size(kWords)];
        }
    }

    void appendPassage(std::string& out, std::size_t bytes) {
        std::size_t start = out.size();
        bool capital = true;
        while (out.size() - start < bytes) {
            if (out.size() != start) out += (next() % 11 == 0) ? "\n" : " ";
            std::string_view word = kWords[next() % std::size(kWords)];
            out += word;
            if (capital && word[0] >= 'a' && word[0] <= 'z') out[out.size() - word.size()] -= 'a' - 'A';
            capital = false;
            if (next() % 9 == 0) {
                out += (next() % 2) ? "," : ".";
                capital = out.back() == '.';
            }
        }
        out += '.';
    }

    static void appendPosition(std::string& out, unsigned page, unsigned location) {
        out += "Page ";
        out += std::to_string(page);
        out += " &middot; Location ";
        out += std::to_string(location);
    }

    std::size_t entries_;
    std::uint64_t state_;
    Counts counts_;
};

} // namespace notara
