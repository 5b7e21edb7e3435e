#include "html/parser/Entities.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include "html/nodes/OutputSettings.h"
#include "html/parser/CharacterReader.h"
#include "html/parser/EntitiesData.h"
#include "html/parser/ParseErrorList.h"
#include "html/parser/Utf8.h"

namespace html {

using entitydata::NamedEntity;

namespace {

std::string_view nameOf(const NamedEntity& e) {
    return {e.name, e.length};
}

// Names compare in unsigned byte order, which std::string_view's compare gives for ASCII.
bool nameLess(const NamedEntity& e, std::string_view name) {
    return nameOf(e) < name;
}

// The longest name of the `base` table (names valid without a semicolon).
constexpr std::size_t maxBaseNameLength = 6;

// Numeric references to these code points mean the windows-1252 character (0x80-0x9F) or,
// for 0, the replacement character: what browsers have always shown for them.
constexpr char32_t c1Replacements[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                         0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                         0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                         0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

void report(ParseErrorList* errors, const CharacterReader& reader, std::string_view what) {
    if (errors && errors->canAddError())
        errors->add(reader.getPos(), "Invalid character reference: " + std::string(what));
}

Entities::Codepoints single(char32_t c) {
    Entities::Codepoints r;
    r.values[0] = c;
    r.count = 1;
    return r;
}

Entities::Codepoints fromEntry(const NamedEntity& e) {
    Entities::Codepoints r;
    r.values = {e.first, e.second};
    r.count = e.second ? 2 : 1;
    return r;
}

// Tests which characters an output charset can represent. UTF-8 and UTF-16 represent all,
// US-ASCII only the first 128; anything else asks an ICU converter.
class CharsetEncoder {
public:
    explicit CharsetEncoder(std::string_view charset) {
        auto is = [charset](std::string_view want) {
            if (charset.size() != want.size()) return false;
            for (std::size_t i = 0; i < want.size(); ++i) {
                char c = charset[i];
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
                if (c != want[i]) return false;
            }
            return true;
        };
        auto startsWith = [&](std::string_view prefix) {
            return charset.size() >= prefix.size() && iequalsPrefix(charset, prefix);
        };
        if (charset.empty() || is("UTF-8") || is("UTF8") || startsWith("UTF-16") || startsWith("UTF-32")) {
            kind = Kind::unicode;
        } else if (is("US-ASCII") || is("ASCII")) {
            kind = Kind::ascii;
        } else {
            UErrorCode status = U_ZERO_ERROR;
            conv = ucnv_open(std::string(charset).c_str(), &status);
            if (U_FAILURE(status) || !conv) {
                conv = nullptr;
                kind = Kind::unicode; // an unknown name: write the characters as they are
            } else {
                kind = Kind::icu;
                status = U_ZERO_ERROR;
                ucnv_setFromUCallBack(conv, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
            }
        }
    }
    static bool iequalsPrefix(std::string_view s, std::string_view prefix) {
        for (std::size_t i = 0; i < prefix.size(); ++i) {
            char c = s[i];
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
            if (c != prefix[i]) return false;
        }
        return true;
    }
    ~CharsetEncoder() {
        if (conv) ucnv_close(conv);
    }
    CharsetEncoder(const CharsetEncoder&) = delete;
    CharsetEncoder& operator=(const CharsetEncoder&) = delete;

    bool representsAll() const { return kind == Kind::unicode; }

    bool canEncode(char32_t c) {
        if (kind == Kind::unicode) return true;
        if (kind == Kind::ascii) return c < 0x80;
        UChar buf[2];
        int32_t len = 0;
        if (c < 0x10000) {
            buf[len++] = static_cast<UChar>(c);
        } else {
            buf[len++] = static_cast<UChar>(0xD7C0 + (c >> 10));
            buf[len++] = static_cast<UChar>(0xDC00 | (c & 0x3FF));
        }
        char out[16];
        UErrorCode status = U_ZERO_ERROR;
        ucnv_resetFromUnicode(conv);
        ucnv_fromUChars(conv, out, sizeof out, buf, len, &status);
        return U_SUCCESS(status);
    }

private:
    enum class Kind { unicode, ascii, icu } kind = Kind::unicode;
    UConverter* conv = nullptr;
};

// Byte classes for the escaper: 1 = needs escaping, 2 = whitespace.
struct EscapeTable {
    unsigned char cls[256]{};
    constexpr EscapeTable() {
        cls[static_cast<unsigned char>('&')] = 1;
        cls[static_cast<unsigned char>('<')] = 1;
        cls[static_cast<unsigned char>('>')] = 1;
        cls[static_cast<unsigned char>('"')] = 1;
        for (int b : {9, 10, 11, 12, 13, 32})
            cls[b] = 2;
    }
};
constexpr EscapeTable escapeTable;

void appendHexReference(std::string& accum, char32_t c) {
    static constexpr char digits[] = "0123456789abcdef";
    char buf[8];
    int n = 0;
    do {
        buf[n++] = digits[c & 0xF];
        c >>= 4;
    } while (c);
    accum += "&#x";
    while (n)
        accum += buf[--n];
    accum += ';';
}

} // namespace

// EscapeMode ------------------------------------------------------------------------------------

const Entities::EscapeMode& Entities::EscapeMode::xhtml() {
    static const EscapeMode mode(0, entitydata::xhtmlByName, entitydata::xhtmlByCodepoint,
                                 entitydata::xhtmlCount);
    return mode;
}

const Entities::EscapeMode& Entities::EscapeMode::base() {
    static const EscapeMode mode(1, entitydata::baseByName, entitydata::baseByCodepoint,
                                 entitydata::baseCount);
    return mode;
}

const Entities::EscapeMode& Entities::EscapeMode::extended() {
    static const EscapeMode mode(2, entitydata::extendedByName, entitydata::extendedByCodepoint,
                                 entitydata::extendedCount);
    return mode;
}

const NamedEntity* Entities::EscapeMode::find(std::string_view name) const {
    const NamedEntity* last = byName + count;
    const NamedEntity* it = std::lower_bound(byName, last, name, nameLess);
    return (it != last && nameOf(*it) == name) ? it : nullptr;
}

std::optional<char32_t> Entities::EscapeMode::codepointForName(std::string_view name) const {
    const NamedEntity* e = find(name);
    return e ? std::optional<char32_t>(e->first) : std::nullopt;
}

std::optional<std::string_view> Entities::EscapeMode::nameForCodepoint(char32_t scalar) const {
    const std::uint16_t* last = byCodepoint + count;
    const std::uint16_t* it = std::lower_bound(
        byCodepoint, last, scalar, [this](std::uint16_t i, char32_t c) { return byName[i].first < c; });
    // Entries with one scalar sit in name order, so the last of the run is the greatest name.
    const NamedEntity* best = nullptr;
    for (; it != last && byName[*it].first == scalar; ++it)
        best = &byName[*it];
    return best ? std::optional<std::string_view>(nameOf(*best)) : std::nullopt;
}

// Lookups ---------------------------------------------------------------------------------------

bool Entities::isNamedEntity(std::string_view name) {
    return EscapeMode::extended().find(name) != nullptr;
}

bool Entities::isBaseNamedEntity(std::string_view name) {
    return EscapeMode::base().find(name) != nullptr;
}

std::optional<Entities::Codepoints> Entities::codepointsForName(std::string_view name) {
    const NamedEntity* e = EscapeMode::extended().find(name);
    return e ? std::optional<Codepoints>(fromEntry(*e)) : std::nullopt;
}

std::optional<std::string> Entities::getByName(std::string_view name) {
    auto cps = codepointsForName(name);
    if (!cps) return std::nullopt;
    std::string out;
    for (int i = 0; i < cps->count; ++i)
        utf8::append(out, (*cps)[i]);
    return out;
}

// Decoding --------------------------------------------------------------------------------------

std::optional<Entities::Codepoints>
Entities::consumeCharacterReference(CharacterReader& reader, ParseErrorList* errors,
                                    std::optional<char32_t> additionalAllowed, bool inAttribute) {
    if (reader.isEmpty()) return std::nullopt;
    const std::string_view in = reader.input();
    const std::size_t at = reader.getPos();
    const char first = in[at];
    if (additionalAllowed && reader.current() == *additionalAllowed) return std::nullopt;
    switch (first) {
    case '\t':
    case '\n':
    case '\r':
    case '\f':
    case ' ':
    case '<':
    case '&': return std::nullopt;
    default: break;
    }
    reader.markPos();

    if (reader.matchConsume("#")) {
        const bool hex = reader.matchConsumeIgnoreCase("X");
        const std::size_t digitsFrom = reader.getPos();
        std::size_t p = digitsFrom;
        char32_t value = 0;
        bool overflow = false;
        while (p < in.size()) {
            const char c = in[p];
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                break;
            if (!overflow) {
                value = value * (hex ? 16 : 10) + static_cast<char32_t>(d);
                overflow = value > 0x10FFFF;
            }
            ++p;
        }
        if (p == digitsFrom) {
            report(errors, reader, "numeric reference with no numerals");
            reader.rewindToMark();
            return std::nullopt;
        }
        while (reader.getPos() < p)
            reader.advance();
        if (!reader.matchConsume(";")) report(errors, reader, "missing semicolon");
        if (overflow || (value >= 0xD800 && value <= 0xDFFF)) {
            report(errors, reader, "character outside of valid range");
            return single(0xFFFD);
        }
        if (value == 0) {
            report(errors, reader, "character outside of valid range");
            return single(0xFFFD);
        }
        if (value >= 0x80 && value <= 0x9F) {
            report(errors, reader, "character outside of valid range");
            return single(c1Replacements[value - 0x80]);
        }
        return single(value);
    }

    // Named reference: the longest name the input starts with. A name ending in ";" may be any
    // name; one without must be a base name (those browsers accept bare).
    std::size_t p = at;
    while (p < in.size() && isAsciiAlnum(in[p]))
        ++p;
    const std::string_view name = in.substr(at, p - at);
    const bool looksLegit = p < in.size() && in[p] == ';';
    const NamedEntity* found = nullptr;
    std::size_t matched = 0;
    if (looksLegit) found = EscapeMode::extended().find(name);
    if (found) {
        matched = name.size();
    } else {
        for (std::size_t len = std::min(name.size(), maxBaseNameLength); len > 0; --len) {
            if (EscapeMode::base().find(name.substr(0, len))) {
                found = EscapeMode::extended().find(name.substr(0, len));
                matched = len;
                break;
            }
        }
    }
    if (!found) {
        if (looksLegit && !name.empty())
            report(errors, reader, "invalid named referenece '" + std::string(name) + "'");
        return std::nullopt;
    }
    const std::size_t after = at + matched;
    const bool semicolon = after < in.size() && in[after] == ';';
    if (inAttribute && !semicolon && after < in.size() && (isAsciiAlnum(in[after]) || in[after] == '=')) {
        // '&copy=1' in a URL query: the author meant the text, not the reference.
        return std::nullopt;
    }
    while (reader.getPos() < after)
        reader.advance();
    if (!reader.matchConsume(";")) report(errors, reader, "missing semicolon");
    return fromEntry(*found);
}

std::string Entities::unescape(std::string_view text, bool strict) {
    CharacterReader reader(text);
    std::string out;
    out.reserve(std::min<std::size_t>(1024, text.size()));
    unescapeRest(reader, nullptr, strict, out);
    return out;
}

void Entities::unescapeRest(CharacterReader& reader, ParseErrorList* errors, bool inAttribute,
                            std::string& out) {
    while (!reader.isEmpty()) {
        out += reader.consumeTo(U'&');
        if (reader.matchConsume("&")) {
            auto cps = consumeCharacterReference(reader, errors, std::nullopt, inAttribute);
            if (!cps || cps->count == 0) {
                out += '&';
            } else {
                for (int i = 0; i < cps->count; ++i)
                    utf8::append(out, (*cps)[i]);
            }
        }
    }
}

// Escaping --------------------------------------------------------------------------------------

void Entities::escape(std::string& accum, std::string_view bytes, const EscapeMode& mode,
                      std::string_view charset, bool inAttribute, bool normaliseWhite,
                      bool stripLeadingWhite) {
    CharsetEncoder encoder(charset);
    const bool representsAll = encoder.representsAll();

    bool lastWasWhite = false;
    bool reachedNonWhite = false;
    const char* p = bytes.data();
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        // Copy the run of bytes that need no attention in one go. Whitespace joins the run when
        // it is kept as is: always without normalisation, and as a single space between two
        // other bytes with it.
        std::size_t j = i;
        const auto& cls = escapeTable.cls;
        while (j < n) {
            const auto b = static_cast<unsigned char>(p[j]);
            const unsigned char k = cls[b];
            if (k == 0 && (representsAll || b < 0x80)) {
                ++j;
            } else if (k == 2 && !normaliseWhite) {
                ++j;
            } else if (b == ' ' && j > i && (j + 1 >= n || cls[static_cast<unsigned char>(p[j + 1])] != 2)) {
                ++j;
            } else {
                break;
            }
        }
        if (j > i) {
            accum.append(p + i, j - i);
            lastWasWhite = cls[static_cast<unsigned char>(p[j - 1])] == 2;
            reachedNonWhite = true; // with normalisation a run never starts with whitespace
            i = j;
            continue;
        }
        const auto b = static_cast<unsigned char>(p[i]);
        const unsigned char k = cls[b];
        if (k == 2) {
            if (normaliseWhite) {
                if (!((stripLeadingWhite && !reachedNonWhite) || lastWasWhite)) {
                    accum += ' ';
                    lastWasWhite = true;
                }
            } else {
                accum += static_cast<char>(b);
            }
            ++i;
            continue;
        }
        lastWasWhite = false;
        reachedNonWhite = true;
        if (k == 1) {
            switch (b) {
            case '&': accum += "&amp;"; break;
            case '<':
                if (!inAttribute || mode == EscapeMode::xhtml())
                    accum += "&lt;";
                else
                    accum += '<';
                break;
            case '>':
                if (!inAttribute)
                    accum += "&gt;";
                else
                    accum += '>';
                break;
            default: // double quote
                if (inAttribute)
                    accum += "&quot;";
                else
                    accum += '"';
                break;
            }
            ++i;
            continue;
        }
        // A non-ASCII character for an output charset that may not represent it.
        int len = 0;
        const char32_t c = utf8::decode(p + i, n - i, len);
        if (c == utf8::invalid) {
            accum += static_cast<char>(b);
            ++i;
        } else {
            if (encoder.canEncode(c))
                accum.append(p + i, static_cast<std::size_t>(len));
            else
                appendHexReference(accum, c);
            i += static_cast<std::size_t>(len);
        }
    }
}

void Entities::escape(std::string& accum, std::string_view bytes, const OutputSettings& out, bool inAttribute,
                      bool normaliseWhite, bool stripLeadingWhite) {
    escape(accum, bytes, out.escapeMode(), out.charset(), inAttribute, normaliseWhite, stripLeadingWhite);
}

std::string Entities::escape(std::string_view text, const OutputSettings& out) {
    std::string accum;
    accum.reserve(text.size() + text.size() / 8);
    escape(accum, text, out, false, false, false);
    return accum;
}

std::string Entities::escape(std::string_view text, std::string_view charset) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    escape(out, text, EscapeMode::base(), charset, false, false, false);
    return out;
}

} // namespace html
