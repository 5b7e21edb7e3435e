#include "html/parser/CharacterReader.h"

#include "html/nodes/StringUtil.h"

#include <cstdint>
#include <cstring>

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "html/parser/Utf8.h"

namespace html {

CharacterReader::CharacterReader(std::string_view input) : _input(input), end(input.size()) {}

CharacterReader::CharacterReader(std::string&& input)
    : owned(std::move(input)), _input(owned), end(owned.size()) {}

std::optional<std::string> CharacterReader::normaliseNewlines(std::string_view input) {
    if (input.empty()) return std::nullopt; // memchr must not see a null pointer
    const char* first = static_cast<const char*>(std::memchr(input.data(), '\r', input.size()));
    if (!first) return std::nullopt;
    std::string out;
    out.reserve(input.size());
    std::size_t i = static_cast<std::size_t>(first - input.data());
    out.append(input.data(), i);
    for (; i < input.size(); ++i) {
        const char c = input[i];
        if (c == '\r') {
            out += '\n';
            if (i + 1 < input.size() && input[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> CharacterReader::preprocess(std::string_view input) {
    const char* p = input.data();
    const std::size_t n = input.size();
    std::size_t i = 0;
    // Find the first byte that needs attention: a CR or a malformed sequence.
    while (i < n) {
        if (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            // No byte >= 0x80 and no CR: skip all eight.
            const std::uint64_t x = word ^ 0x0D0D0D0D0D0D0D0Dull;
            const bool hasCr = ((x - 0x0101010101010101ull) & ~x & 0x8080808080808080ull) != 0;
            if (!hasCr && (word & 0x8080808080808080ull) == 0) {
                i += 8;
                continue;
            }
        }
        const auto b = static_cast<unsigned char>(p[i]);
        if (b == '\r') break;
        if (b < 0x80) {
            ++i;
            continue;
        }
        int len = 0;
        if (utf8::decode(p + i, n - i, len) == utf8::invalid) break;
        i += static_cast<std::size_t>(len);
    }
    if (i == n) return std::nullopt;
    std::string out;
    out.reserve(n + 16);
    out.append(p, i);
    while (i < n) {
        const auto b = static_cast<unsigned char>(p[i]);
        if (b == '\r') {
            out += '\n';
            i += (i + 1 < n && p[i + 1] == '\n') ? 2 : 1;
        } else if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
        } else {
            i += utf8::appendRepairedAt(out, input, i, utf8::Repair::EachByte);
        }
    }
    return out;
}

char32_t CharacterReader::current() const {
    if (pos >= end) return EOF_;
    int len = 0;
    char32_t c = utf8::decode(_input.data() + pos, end - pos, len);
    return c == utf8::invalid ? EOF_ : c;
}

std::string_view CharacterReader::currentUTF8() const {
    if (pos >= end) return eofUTF8;
    const int n = utf8::sequenceLength(static_cast<unsigned char>(_input[pos]));
    if (n == 0 || pos + static_cast<std::size_t>(n) > end) return {};
    for (int i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(_input[pos + i]) & 0xC0) != 0x80) return {};
    return _input.substr(pos, static_cast<std::size_t>(n));
}

char32_t CharacterReader::consumeSlow() {
    if (pos >= end) return EOF_;
    int len = 0;
    char32_t c = utf8::decode(_input.data() + pos, end - pos, len);
    if (c == utf8::invalid) return EOF_;
    pos += static_cast<std::size_t>(len);
    return c;
}

char32_t CharacterReader::currentRepaired() const {
    if (pos >= end) return EOF_;
    int len = 0;
    char32_t c = utf8::decode(_input.data() + pos, end - pos, len);
    return c == utf8::invalid ? 0xFFFD : c;
}

char32_t CharacterReader::consumeRepairedSlow() {
    if (pos >= end) return EOF_;
    int len = 0;
    char32_t c = utf8::decode(_input.data() + pos, end - pos, len);
    if (c == utf8::invalid) {
        ++pos;
        return 0xFFFD;
    }
    pos += static_cast<std::size_t>(len);
    return c;
}

void CharacterReader::unconsume() {
    if (pos < 1) return;
    const std::size_t from = pos;
    std::size_t q = from - 1;
    while (q > 0 && from - q < 4 && (static_cast<unsigned char>(_input[q]) & 0xC0) == 0x80)
        --q;
    // Step back over a whole character only when one really ends here; after bad bytes (which
    // consumeRepaired() passes one at a time) step back one byte, so the two stay inverses.
    int len = 0;
    if (utf8::decode(_input.data() + q, from - q, len) != utf8::invalid &&
        static_cast<std::size_t>(len) == from - q)
        pos = q;
    else
        pos = from - 1;
}

std::string CharacterReader::consumeAsString() {
    const std::size_t from = pos;
    if (consume() == EOF_ && pos == from) return {};
    return std::string(_input.substr(from, pos - from));
}

std::string_view CharacterReader::consumeToAny(const ParsingStrings& set) {
    const std::size_t from = pos;
    if (set.isAsciiByteSet()) {
        // Members are single ASCII bytes, which never occur inside a multi-byte character:
        // a plain byte scan gives the same stop as walking character by character.
        pos = set.scanToMember(_input.data(), pos, end);
        return _input.substr(from, pos - from);
    }
    while (pos < end) {
        const auto b = static_cast<unsigned char>(_input[pos]);
        if ((b & 0xC0) == 0x80) {
            ++pos;
            continue;
        }
        const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        const std::size_t len = std::min(n, end - pos);
        if (set.contains(_input.substr(pos, len))) break;
        pos += len;
    }
    return _input.substr(from, pos - from);
}

std::string_view CharacterReader::consumeData() {
    return consumeToAny(dataTerminators());
}

std::string_view CharacterReader::consumeTagName() {
    return consumeToAny(tagNameTerminators());
}

std::string_view CharacterReader::consumeTo(char32_t scalar) {
    if (scalar < 0x80) {
        const std::size_t from = pos;
        const void* hit = std::memchr(_input.data() + pos, static_cast<int>(scalar), end - pos);
        pos = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - _input.data()) : end;
        return _input.substr(from, pos - from);
    }
    return consumeTo(std::string_view(utf8::encode(scalar)));
}

std::string_view CharacterReader::consumeTo(std::string_view bytes) {
    const std::size_t from = pos;
    auto at = nextIndexOf(bytes);
    pos = at ? *at : end;
    return _input.substr(from, pos - from);
}

std::string_view CharacterReader::consumeToEnd() {
    const std::size_t from = pos;
    pos = end;
    return _input.substr(from);
}

template <typename Pred> std::string_view CharacterReader::consumeWhile(Pred pred) {
    const std::size_t from = pos;
    while (pos < end) {
        int len = 0;
        char32_t c = utf8::decode(_input.data() + pos, end - pos, len);
        if (c == utf8::invalid || !pred(c)) break;
        pos += static_cast<std::size_t>(len);
    }
    return _input.substr(from, pos - from);
}

std::string_view CharacterReader::consumeLetterSequence() {
    return consumeWhile(isLetter);
}

std::string_view CharacterReader::consumeDigitSequence() {
    return consumeWhile(isDigit);
}

std::string_view CharacterReader::consumeHexSequence() {
    return consumeWhile([](char32_t c) { return isHexDigit(c); });
}

std::string_view CharacterReader::consumeLetterThenDigitSequence() {
    const std::size_t from = pos;
    consumeWhile(isLetter);
    consumeWhile(isDigit);
    return _input.substr(from, pos - from);
}

std::optional<std::size_t> CharacterReader::nextIndexOf(std::string_view bytes) const {
    if (bytes.empty()) return pos <= end ? std::optional<std::size_t>(pos) : std::nullopt;
    const char* base = _input.data();
    std::size_t i = pos;
    const char first = bytes[0];
    while (i < end) {
        const void* hit = std::memchr(base + i, first, end - i);
        if (!hit) return std::nullopt;
        i = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
        if (bytes.size() > end - i) return std::nullopt;
        if (std::memcmp(base + i + 1, bytes.data() + 1, bytes.size() - 1) == 0) return i;
        ++i;
    }
    return std::nullopt;
}

std::optional<std::size_t> CharacterReader::nextIndexOf(char32_t scalar) const {
    return nextIndexOf(std::string_view(utf8::encode(scalar)));
}

bool CharacterReader::matches(char32_t scalar) const {
    return !isEmpty() && current() == scalar;
}

bool CharacterReader::matches(std::string_view sequence, bool ignoreCase, bool consume) {
    std::size_t at = pos;
    std::size_t i = 0;
    while (i < sequence.size()) {
        if (at >= end) return false;
        int slen = 0, ilen = 0;
        const char32_t want = utf8::decode(sequence.data() + i, sequence.size() - i, slen);
        const char32_t have = utf8::decode(_input.data() + at, end - at, ilen);
        if (want == utf8::invalid || have == utf8::invalid) return false;
        if (want != have && !(ignoreCase && equalsIgnoreCase(want, have))) return false;
        i += static_cast<std::size_t>(slen);
        at += static_cast<std::size_t>(ilen);
    }
    if (consume) pos = at;
    return true;
}

bool CharacterReader::matchesAny(const ParsingStrings& set) const {
    if (isEmpty()) return false;
    std::string_view c = currentUTF8();
    return !c.empty() && set.contains(c);
}

bool CharacterReader::matchesAny(std::initializer_list<char32_t> scalars) const {
    if (isEmpty()) return false;
    const char32_t c = current();
    for (char32_t s : scalars)
        if (s == c) return true;
    return false;
}

bool CharacterReader::matchesAny(std::initializer_list<std::string_view> sequences) const {
    if (isEmpty()) return false;
    const std::string_view c = currentUTF8();
    if (c.empty()) return false;
    for (std::string_view s : sequences)
        if (s == c) return true;
    return false;
}

bool CharacterReader::containsIgnoreCase(std::string_view bytes) const {
    const std::string lower = StringUtil::lowerCaseAscii(bytes);
    std::string upper(bytes);
    for (auto& c : upper)
        c = StringUtil::toUpperAscii(c);
    return nextIndexOf(lower).has_value() || nextIndexOf(upper).has_value();
}

std::string CharacterReader::toString() const {
    return utf8::repaired(_input.substr(std::min(pos, end)));
}

const ParsingStrings& CharacterReader::dataTerminators() {
    static const ParsingStrings set{"&", "<", std::string_view("\0", 1)};
    return set;
}

const ParsingStrings& CharacterReader::tagNameTerminators() {
    static const ParsingStrings set{"\t", "\n", "\r", "\f", " ", "/", ">", std::string_view("\0", 1)};
    return set;
}

const ParsingStrings& CharacterReader::letters() {
    static const ParsingStrings set = [] {
        std::vector<std::string> members;
        for (char c : std::string_view("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"))
            members.emplace_back(1, c);
        return ParsingStrings(members);
    }();
    return set;
}

const ParsingStrings& CharacterReader::digits() {
    static const ParsingStrings set{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    return set;
}

bool CharacterReader::isLetter(char32_t c) {
    if (c < 0x80) return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return (U_GET_GC_MASK(static_cast<UChar32>(c)) & (U_GC_L_MASK | U_GC_M_MASK)) != 0;
}

bool CharacterReader::isDigit(char32_t c) {
    if (c < 0x80) return c >= '0' && c <= '9';
    return u_charType(static_cast<UChar32>(c)) == U_DECIMAL_DIGIT_NUMBER;
}

bool CharacterReader::equalsIgnoreCase(char32_t a, char32_t b) {
    if (a == b) return true;
    if (a < 0x80 && b < 0x80) {
        auto up = [](char32_t c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; };
        return up(a) == up(b);
    }
    // Full mapping compared as strings: some characters upper-case to several (e.g. U+00DF).
    icu::UnicodeString ua(static_cast<UChar32>(a)), ub(static_cast<UChar32>(b));
    ua.toUpper(icu::Locale::getRoot());
    ub.toUpper(icu::Locale::getRoot());
    return ua == ub;
}

} // namespace html
