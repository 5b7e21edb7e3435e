#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace html {

class CharacterReader;
class OutputSettings;
class ParseErrorList;

namespace entitydata {
struct NamedEntity;
}

// Named and numeric character references: the tables of names, decoding references in input,
// and escaping text for HTML output.
class Entities {
public:
    // Which named references a table knows. The tables are constant data compiled in, so every
    // instance is ready (and safe to share between threads) from the start.
    class EscapeMode {
    public:
        static const EscapeMode& xhtml();    // amp, gt, lt, quot
        static const EscapeMode& base();     // names valid without a semicolon
        static const EscapeMode& extended(); // every name

        int value() const { return _value; }
        bool operator==(const EscapeMode& other) const { return _value == other._value; }
        std::size_t size() const { return count; }

        std::optional<char32_t> codepointForName(std::string_view name) const;
        // The last (in byte order) of the names for `scalar`: "amp" rather than "AMP".
        std::optional<std::string_view> nameForCodepoint(char32_t scalar) const;
        // Both code points for `name` (the second 0 for one-code-point names).
        const entitydata::NamedEntity* find(std::string_view name) const;

    private:
        EscapeMode(int value, const entitydata::NamedEntity* byName, const std::uint16_t* byCodepoint,
                   std::size_t count)
            : _value(value), byName(byName), byCodepoint(byCodepoint), count(count) {}

        int _value;
        const entitydata::NamedEntity* byName;
        const std::uint16_t* byCodepoint;
        std::size_t count;
    };

    // One or two scalars, as a named reference may stand for two.
    struct Codepoints {
        std::array<char32_t, 2> values{};
        int count = 0;
        char32_t operator[](int i) const { return values[static_cast<std::size_t>(i)]; }
        int size() const { return count; }
        bool operator==(const Codepoints&) const = default;
    };

    static bool isNamedEntity(std::string_view name);
    static bool isBaseNamedEntity(std::string_view name);
    static std::optional<Codepoints> codepointsForName(std::string_view name);
    static std::optional<std::string> getByName(std::string_view name);

    // Decodes every reference in `text`; `strict` applies the attribute-value rules.
    static std::string unescape(std::string_view text, bool strict = false);

    // Appends `bytes` to `accum` escaped for HTML output. `charset` names the output encoding:
    // characters it cannot represent are written as hexadecimal references.
    static void escape(std::string& accum, std::string_view bytes, const EscapeMode& mode,
                       std::string_view charset, bool inAttribute, bool normaliseWhite,
                       bool stripLeadingWhite);
    // The same with the escape mode and charset of a document's output settings.
    static void escape(std::string& accum, std::string_view bytes, const OutputSettings& out,
                       bool inAttribute, bool normaliseWhite, bool stripLeadingWhite);
    static std::string escape(std::string_view text, const OutputSettings& out);
    static std::string escape(std::string_view text, std::string_view charset = "UTF-8");

    // Decodes the reference after an "&" the reader has just consumed. Returns nullopt (and
    // leaves the reader where it was) when the text there is not to be decoded. Problems go to
    // `errors` when it is given and has room.
    static std::optional<Codepoints>
    consumeCharacterReference(CharacterReader& reader, ParseErrorList* errors,
                              std::optional<char32_t> additionalAllowedCharacter, bool inAttribute);
    // Appends to `out` the text from the reader's position to its end, references decoded.
    static void unescapeRest(CharacterReader& reader, ParseErrorList* errors, bool inAttribute,
                             std::string& out);
};

} // namespace html
