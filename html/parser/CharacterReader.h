#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "html/parser/ParsingStrings.h"

namespace html {

// The cursor over the UTF-8 bytes being parsed. Scanning results are views into the input,
// valid as long as the input the reader was built from.
class CharacterReader {
public:
    // What current() and consume() return at the end of the input.
    static constexpr char32_t EOF_ = 0xFFFF;
    // The bytes of U+FFFF, which currentUTF8() returns at the end.
    static constexpr std::string_view eofUTF8 = "\xEF\xBF\xBF";

    // The reader does not copy: `input` must outlive it (and every slice it hands out).
    explicit CharacterReader(std::string_view input);
    explicit CharacterReader(const char* input) : CharacterReader(std::string_view(input)) {}
    // Takes the text over, so the caller need not keep it.
    explicit CharacterReader(std::string&& input);
    CharacterReader(const CharacterReader&) = delete;
    CharacterReader& operator=(const CharacterReader&) = delete;

    // HTML input preprocessing: returns `input` with every CR LF pair and lone CR turned into
    // LF, or nullopt when it holds no CR (the common case, so no copy is made).
    static std::optional<std::string> normaliseNewlines(std::string_view input);
    // Full HTML input preprocessing: newlines as above, and every malformed UTF-8 sequence
    // replaced by U+FFFD. Returns nullopt when the input needs neither (no copy is made).
    static std::optional<std::string> preprocess(std::string_view input);

    std::string_view input() const { return _input; }
    std::size_t getPos() const { return pos; }
    bool isEmpty() const { return pos >= end; }

    char32_t current() const;
    std::string_view currentUTF8() const;
    char32_t consume() {
        // Fast path for ASCII, the bulk of markup.
        if (pos < end && static_cast<unsigned char>(_input[pos]) < 0x80)
            return static_cast<unsigned char>(_input[pos++]);
        return consumeSlow();
    }
    void unconsume();
    void advance() { consume(); }
    void markPos() { mark = pos; }
    void rewindToMark() { pos = mark; }

    // As consume(), but a malformed sequence yields U+FFFD and is stepped over one byte at a
    // time, so a caller that must make progress never mistakes bad bytes for the end.
    char32_t consumeRepaired() {
        if (pos < end && static_cast<unsigned char>(_input[pos]) < 0x80)
            return static_cast<unsigned char>(_input[pos++]);
        return consumeRepairedSlow();
    }
    char32_t currentRepaired() const;

    std::string consumeAsString();
    std::string_view consumeToAny(const ParsingStrings& set);
    std::string_view consumeData();
    std::string_view consumeTagName();
    std::string_view consumeTo(char32_t scalar);
    std::string_view consumeTo(std::string_view bytes);
    std::string_view consumeToEnd();
    std::string_view consumeLetterSequence();
    std::string_view consumeDigitSequence();
    std::string_view consumeHexSequence();
    std::string_view consumeLetterThenDigitSequence();

    std::optional<std::size_t> nextIndexOf(std::string_view bytes) const;
    std::optional<std::size_t> nextIndexOf(char32_t scalar) const;

    bool matches(char32_t scalar) const;
    bool matches(std::string_view sequence, bool ignoreCase, bool consume);
    bool matches(std::string_view sequence) { return matches(sequence, false, false); }
    bool matchesIgnoreCase(std::string_view sequence) { return matches(sequence, true, false); }
    bool matchConsume(std::string_view bytes) { return matches(bytes, false, true); }
    bool matchConsumeIgnoreCase(std::string_view bytes) { return matches(bytes, true, true); }
    bool matchesAny(const ParsingStrings& set) const;
    bool matchesAny(std::initializer_list<char32_t> scalars) const;
    // The current character's bytes equal one of `sequences`.
    bool matchesAny(std::initializer_list<std::string_view> sequences) const;
    bool matchesLetter() const {
        if (pos >= end) return false;
        const unsigned char b = static_cast<unsigned char>(_input[pos]) | 0x20;
        return b >= 'a' && b <= 'z';
    }
    bool matchesDigit() const { return pos < end && _input[pos] >= '0' && _input[pos] <= '9'; }
    bool containsIgnoreCase(std::string_view bytes) const;

    std::string toString() const;

    // Shared constant sets, built once on first use.
    static const ParsingStrings& dataTerminators();
    static const ParsingStrings& tagNameTerminators();
    static const ParsingStrings& letters();
    static const ParsingStrings& digits();

    // Unicode classes: letters are categories L and M; digits are category Nd.
    static bool isLetter(char32_t c);
    static bool isDigit(char32_t c);
    static bool isHexDigit(char32_t c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    }
    // Scalars equal under full Unicode upper-case mapping.
    static bool equalsIgnoreCase(char32_t a, char32_t b);

private:
    template <typename Pred> std::string_view consumeWhile(Pred pred);
    char32_t consumeSlow();
    char32_t consumeRepairedSlow();

    std::string owned;
    std::string_view _input;
    std::size_t pos = 0;
    std::size_t mark = 0;
    std::size_t end = 0;
};

} // namespace html
