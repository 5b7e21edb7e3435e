#include "html/nodes/StringUtil.h"

#include "html/parser/Utf8.h"

#include <unicode/uchar.h>

#include <cstdint>
#include <cstring>
#include <optional>

namespace html {

std::string StringUtil::lowerCaseAscii(std::string_view s) {
    std::string out(s);
    lowerCaseAsciiInPlace(out);
    return out;
}

void StringUtil::lowerCaseAsciiInPlace(std::string& s) noexcept {
    for (char& c : s)
        c = toLowerAscii(c);
}

bool StringUtil::isBlank(std::string_view s) noexcept {
    for (char c : s)
        if (!isWhitespace(c)) return false;
    return true;
}

std::string_view StringUtil::trim(std::string_view s) noexcept {
    std::size_t b = 0, e = s.size();
    while (b < e && isWhitespace(s[b]))
        ++b;
    while (e > b && isWhitespace(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

std::string StringUtil::normaliseWhitespace(std::string_view s) {
    StringBuilder sb(s.size());
    appendNormalisedWhitespace(sb, s, false);
    return sb.take();
}

namespace {

// Bytes that may run on inside a stretch of text: everything but the whitespace bytes.
struct NonWhiteTable {
    bool value[256];
    constexpr NonWhiteTable() : value() {
        for (int c = 0; c < 256; ++c)
            value[c] = !StringUtil::isWhitespace(static_cast<char>(c));
    }
};
constexpr NonWhiteTable kNonWhite;

constexpr std::size_t utf8Length(unsigned char lead) noexcept {
    return lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Whether the eight bytes at `p` are ASCII that continues a stretch of normal text: no byte below
// 0x21 but single spaces, none of them at the end unless `next` (the byte after) is a non-white
// one. Being ASCII, they are whole characters, as the byte loop would have taken them one by one.
// Each byte is tested exactly, without carries from one into the next.
bool continuesStretch(const char* p, unsigned char next) noexcept {
    constexpr std::uint64_t ones = 0x0101010101010101ULL, highs = 0x8080808080808080ULL, lows = ~highs;
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    if ((word & highs) != 0) return false;
    const std::uint64_t below21 = ~((word + ones * 0x5F) | word) & highs;
    if (below21 == 0) return true;
    const std::uint64_t y = word ^ (ones * 0x20);
    const std::uint64_t spaces = ~(((y & lows) + lows) | y) & highs;
    if ((below21 & ~spaces) != 0 || (spaces & (spaces >> 8)) != 0) return false;
    return (spaces >> 63) == 0 || kNonWhite.value[next];
}

} // namespace

void StringUtil::appendNormalisedWhitespace(StringBuilder& accum, std::string_view bytes, bool stripLeading) {
    bool lastWasWhite = false;
    bool reachedNonWhite = false;
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (!kNonWhite.value[lead]) {
            if ((stripLeading && !reachedNonWhite) || lastWasWhite) {
                ++i;
                continue;
            }
            accum.append(' ');
            lastWasWhite = true;
            ++i;
            continue;
        }
        // A stretch of whole characters, single spaces between them included (they are already
        // normal), is copied in one go.
        std::size_t j = i;
        while (j < n) {
            // Eight ASCII bytes at a time where they qualify.
            if (j + 9 <= n && continuesStretch(bytes.data() + j, static_cast<unsigned char>(bytes[j + 8]))) {
                j += 8;
                continue;
            }
            const auto c = static_cast<unsigned char>(bytes[j]);
            if (c < 0x80) {
                if (kNonWhite.value[c]) {
                    ++j;
                } else if (c == ' ' && j + 1 < n &&
                           kNonWhite.value[static_cast<unsigned char>(bytes[j + 1])]) {
                    ++j;
                } else {
                    break;
                }
            } else {
                const std::size_t len = utf8Length(c);
                if (j + len > n) break;
                j += len;
            }
        }
        if (j == i) break; // a truncated character at the end is dropped
        accum.append(bytes.substr(i, j - i));
        i = j;
        reachedNonWhite = true;
        lastWasWhite = false;
    }
}

namespace {

// Decodes one well-formed UTF-8 sequence at s[i]; returns its length or 0 when malformed.
std::size_t decodeUtf8(std::string_view s, std::size_t i, char32_t& cp) noexcept {
    int len = 0;
    const char32_t c = utf8::decode(s.data() + i, s.size() - i, len);
    if (c == utf8::invalid) return 0;
    cp = c;
    return static_cast<std::size_t>(len);
}

bool isUnicodeSpace(char32_t cp) noexcept {
    return u_isUWhiteSpace(static_cast<UChar32>(cp));
}

} // namespace

std::string StringUtil::repairUtf8(std::string s) {
    const std::size_t n = s.size();
    std::size_t i = 0;
    char32_t cp;
    bool valid = true;
    while (i < n) {
        // Eight ASCII bytes at a time; decode only around the others.
        if (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, s.data() + i, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                i += 8;
                continue;
            }
        }
        const std::size_t len = decodeUtf8(s, i, cp);
        if (!len) {
            valid = false;
            break;
        }
        i += len;
    }
    if (valid) return s;
    std::string out;
    out.reserve(n + 8);
    for (std::size_t k = 0; k < n;) {
        const std::size_t len = decodeUtf8(s, k, cp);
        if (len) {
            out.append(s, k, len);
            k += len;
        } else {
            out.append("\xEF\xBF\xBD");
            // Skip the lead byte and any continuation bytes that belonged to it.
            ++k;
            while (k < n && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80)
                ++k;
        }
    }
    return out;
}

std::string StringUtil::trimUnicodeWhitespace(std::string s) {
    if (s.empty()) return s;
    const auto first = static_cast<unsigned char>(s.front());
    const auto last = static_cast<unsigned char>(s.back());
    auto plain = [](unsigned char c) { return c < 0x80 && !isActuallyWhitespace(static_cast<char>(c)); };
    if (plain(first) && plain(last)) return s;

    std::size_t b = 0;
    char32_t cp;
    while (b < s.size()) {
        const std::size_t len = decodeUtf8(s, b, cp);
        if (!len || !isUnicodeSpace(cp)) break;
        b += len;
    }
    std::size_t e = s.size();
    while (e > b) {
        // Step back to the start of the last character.
        std::size_t k = e - 1;
        while (k > b && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80 && e - k < 4)
            --k;
        const std::size_t len = decodeUtf8(s, k, cp);
        if (len != e - k || !isUnicodeSpace(cp)) break;
        e = k;
    }
    if (b == 0 && e == s.size()) return s;
    return s.substr(b, e - b);
}

std::string StringUtil::padding(std::size_t width) {
    return std::string(width, ' ');
}

namespace {

struct UriParts {
    std::optional<std::string_view> scheme, authority, query, fragment;
    std::string_view path;
};

bool isSchemeChar(char c, bool first) {
    const bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (first) return alpha;
    return alpha || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

UriParts splitUri(std::string_view s) {
    UriParts p;
    std::size_t i = 0;
    while (i < s.size() && isSchemeChar(s[i], i == 0))
        ++i;
    if (i > 0 && i < s.size() && s[i] == ':') {
        p.scheme = s.substr(0, i);
        s.remove_prefix(i + 1);
    }
    if (s.size() >= 2 && s[0] == '/' && s[1] == '/') {
        const std::size_t end = s.find_first_of("/?#", 2);
        p.authority = s.substr(2, end == std::string_view::npos ? std::string_view::npos : end - 2);
        s.remove_prefix(end == std::string_view::npos ? s.size() : end);
    }
    const std::size_t hash = s.find('#');
    if (hash != std::string_view::npos) {
        p.fragment = s.substr(hash + 1);
        s = s.substr(0, hash);
    }
    const std::size_t q = s.find('?');
    if (q != std::string_view::npos) {
        p.query = s.substr(q + 1);
        s = s.substr(0, q);
    }
    p.path = s;
    return p;
}

std::string removeDotSegments(std::string_view in) {
    std::string out;
    while (!in.empty()) {
        if (in.starts_with("../")) {
            in.remove_prefix(3);
        } else if (in.starts_with("./")) {
            in.remove_prefix(2);
        } else if (in.starts_with("/./")) {
            in.remove_prefix(2);
        } else if (in == "/.") {
            in = "/";
        } else if (in.starts_with("/../") || in == "/..") {
            in = in.size() == 3 ? std::string_view("/") : in.substr(3);
            const std::size_t slash = out.rfind('/');
            out.resize(slash == std::string::npos ? 0 : slash);
        } else if (in == "." || in == "..") {
            in = {};
        } else {
            const std::size_t next = in.find('/', in[0] == '/' ? 1 : 0);
            const std::size_t len = next == std::string_view::npos ? in.size() : next;
            out.append(in.substr(0, len));
            in.remove_prefix(len);
        }
    }
    return out;
}

} // namespace

std::string StringUtil::resolve(std::string_view base, std::string_view relative) {
    relative = trim(relative);
    const UriParts r = splitUri(relative);
    if (r.scheme) {
        std::string out(*r.scheme);
        out.push_back(':');
        if (r.authority) out.append("//").append(*r.authority);
        out.append(removeDotSegments(r.path));
        if (r.query) out.append("?").append(*r.query);
        if (r.fragment) out.append("#").append(*r.fragment);
        return out;
    }
    const UriParts b = splitUri(trim(base));
    if (!b.scheme) return {}; // nothing to resolve against
    std::string out(*b.scheme);
    out.push_back(':');
    std::optional<std::string_view> query;
    if (r.authority) {
        out.append("//").append(*r.authority).append(removeDotSegments(r.path));
        query = r.query;
    } else {
        if (b.authority) out.append("//").append(*b.authority);
        if (r.path.empty()) {
            out.append(b.path);
            query = r.query ? r.query : b.query;
        } else if (r.path.front() == '/') {
            out.append(removeDotSegments(r.path));
            query = r.query;
        } else {
            std::string merged;
            if (b.authority && b.path.empty()) {
                merged = "/";
            } else {
                const std::size_t slash = b.path.rfind('/');
                if (slash != std::string_view::npos) merged.assign(b.path.substr(0, slash + 1));
            }
            merged.append(r.path);
            out.append(removeDotSegments(merged));
            query = r.query;
        }
    }
    if (query) out.append("?").append(*query);
    if (r.fragment) out.append("#").append(*r.fragment);
    return out;
}

} // namespace html
