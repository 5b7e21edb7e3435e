#include "notara/core/sources/books/EpubCfi.h"

#include "html/nodes/StringUtil.h"

#include "notara/core/model/SortKey.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace notara {

namespace {

// A cursor over the text that reports failure instead of reading past the end.
class CfiReader {
public:
    explicit CfiReader(std::string_view text) : text_(text) {}

    bool atEnd() const { return at_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[at_]; }
    bool take(char c) {
        if (peek() != c || atEnd()) return false;
        ++at_;
        return true;
    }
    bool take(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }

    // integer = "0" | digit-non-zero { digit }; saturates instead of overflowing.
    std::optional<std::uint64_t> integer() {
        if (!html::StringUtil::isAsciiDigit(peek())) return std::nullopt;
        if (peek() == '0') {
            ++at_;
            if (html::StringUtil::isAsciiDigit(peek())) return std::nullopt; // no leading zeros
            return 0;
        }
        std::uint64_t value = 0;
        constexpr std::uint64_t max = std::numeric_limits<std::uint64_t>::max();
        while (html::StringUtil::isAsciiDigit(peek())) {
            const auto digit = static_cast<std::uint64_t>(text_[at_] - '0');
            value = value > (max - digit) / 10 ? max : value * 10 + digit;
            ++at_;
        }
        return value;
    }

    // number = integer [ "." digits ]
    std::optional<double> number() {
        const size_t begin = at_;
        if (!integer()) return std::nullopt;
        if (take('.')) {
            if (!html::StringUtil::isAsciiDigit(peek())) return std::nullopt;
            while (html::StringUtil::isAsciiDigit(peek()))
                ++at_;
        }
        double value = 0;
        const char* first = text_.data() + begin;
        const auto result = std::from_chars(first, text_.data() + at_, value);
        if (result.ec == std::errc::result_out_of_range) return std::numeric_limits<double>::max();
        if (result.ec != std::errc()) return std::nullopt;
        return value;
    }

    // "[" ... "]" with "^" escaping the next character. Only checked: it never moves a place.
    bool assertion() {
        if (!take('[')) return false;
        while (!atEnd()) {
            const char c = text_[at_++];
            if (c == '^') {
                if (atEnd()) return false;
                ++at_;
            } else if (c == ']') {
                return true;
            } else if (c == '[' || c == '(' || c == ')') {
                return false;
            }
        }
        return false;
    }

private:
    std::string_view text_;
    size_t at_ = 0;
};

bool isOffsetStart(char c) {
    return c == ':' || c == '~' || c == '@';
}

bool readSpatial(CfiReader& in, EpubCfi::Point& point) {
    const auto x = in.number();
    if (!x || !in.take(':')) return false;
    const auto y = in.number();
    if (!y) return false;
    point.spatialOffset = std::pair(*x, *y);
    return true;
}

// offset = ":" integer | "@" number ":" number | "~" number [ "@" number ":" number ],
// then an optional assertion.
bool readOffset(CfiReader& in, EpubCfi::Point& point) {
    if (in.take(':')) {
        point.characterOffset = in.integer();
        if (!point.characterOffset) return false;
    } else if (in.take('~')) {
        point.temporalOffset = in.number();
        if (!point.temporalOffset) return false;
        if (in.take('@') && !readSpatial(in, point)) return false;
    } else if (in.take('@')) {
        if (!readSpatial(in, point)) return false;
    } else {
        return false;
    }
    return in.peek() != '[' || in.assertion();
}

bool readStep(CfiReader& in, EpubCfi::Point& point) {
    if (!in.take('/')) return false;
    const auto step = in.integer();
    if (!step) return false;
    point.steps.push_back(*step);
    return in.peek() != '[' || in.assertion();
}

// Steps, indirections and the closing offset of one path, appended to `point`. `needStep`:
// the path must begin with a step (the parent path of a CFI does; a range's local paths need not).
bool readPath(CfiReader& in, EpubCfi::Point& point, bool needStep) {
    if (needStep && in.peek() != '/') return false;
    while (true) {
        while (in.peek() == '/') {
            if (!readStep(in, point)) return false;
        }
        if (in.take('!')) {
            // An indirection leads into a content document: a path or an offset must follow.
            if (in.peek() == '/') continue;
            return isOffsetStart(in.peek()) && readOffset(in, point);
        }
        if (isOffsetStart(in.peek())) return readOffset(in, point);
        return true;
    }
}

int compareNumbers(double a, double b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

int comparePoints(const EpubCfi::Point& a, const EpubCfi::Point& b) {
    const size_t common = std::min(a.steps.size(), b.steps.size());
    for (size_t i = 0; i < common; ++i) {
        if (a.steps[i] != b.steps[i]) return a.steps[i] < b.steps[i] ? -1 : 1;
    }
    // An ancestor comes before what lies inside it.
    if (a.steps.size() != b.steps.size()) return a.steps.size() < b.steps.size() ? -1 : 1;
    const std::uint64_t charA = a.characterOffset.value_or(0), charB = b.characterOffset.value_or(0);
    if (charA != charB) return charA < charB ? -1 : 1;
    if (int c = compareNumbers(a.temporalOffset.value_or(0), b.temporalOffset.value_or(0))) return c;
    const auto spatialA = a.spatialOffset.value_or(std::pair(0.0, 0.0));
    const auto spatialB = b.spatialOffset.value_or(std::pair(0.0, 0.0));
    if (int c = compareNumbers(spatialA.second, spatialB.second)) return c;
    return compareNumbers(spatialA.first, spatialB.first);
}

// Offsets are never negative, and the bits of a non-negative double order as its values.
std::uint64_t bitsOf(std::optional<double> value) {
    const double v = value.value_or(0.0) > 0 ? *value : 0.0;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

void appendKey(std::string& key, const EpubCfi::Point& point) {
    // Steps are biased by one so that the 0 closing the path sorts an ancestor first.
    for (std::uint64_t step : point.steps)
        SortKey::appendNumber(key, step, 1);
    key.push_back(0);
    SortKey::appendNumber(key, point.characterOffset.value_or(0));
    SortKey::appendNumber(key, bitsOf(point.temporalOffset));
    SortKey::appendNumber(
        key, bitsOf(point.spatialOffset ? std::optional(point.spatialOffset->second) : std::nullopt));
    SortKey::appendNumber(
        key, bitsOf(point.spatialOffset ? std::optional(point.spatialOffset->first) : std::nullopt));
}

} // namespace

std::optional<EpubCfi> EpubCfi::parse(std::string_view text) {
    EpubCfi cfi;
    if (!parseInto(text, cfi)) return std::nullopt;
    return cfi;
}

bool EpubCfi::parseInto(std::string_view text, EpubCfi& cfi) {
    auto clear = [](Point& point) {
        point.steps.clear(); // keeps its memory
        point.characterOffset.reset();
        point.temporalOffset.reset();
        point.spatialOffset.reset();
    };
    clear(cfi.start_);
    cfi.range_ = false;
    CfiReader in(text);
    if (!in.take(std::string_view("epubcfi("))) return false;
    if (!readPath(in, cfi.start_, true)) return false;
    if (in.take(',')) {
        // A range's parent path ends at a node; its local paths carry the offsets.
        const Point& parent = cfi.start_;
        if (parent.characterOffset || parent.temporalOffset || parent.spatialOffset) return false;
        clear(cfi.end_);
        cfi.end_.steps.assign(parent.steps.begin(), parent.steps.end());
        if (!readPath(in, cfi.start_, false) || !in.take(',') || !readPath(in, cfi.end_, false)) return false;
        cfi.range_ = true;
    }
    return in.take(')') && in.atEnd();
}

int EpubCfi::compare(const EpubCfi& a, const EpubCfi& b) {
    if (int c = comparePoints(a.start(), b.start())) return c;
    return comparePoints(a.end(), b.end());
}

std::string EpubCfi::sortKey() const {
    std::string key;
    key.reserve(start().steps.size() + end().steps.size() + 10);
    appendKey(key, start());
    appendKey(key, end());
    return key;
}

} // namespace notara
