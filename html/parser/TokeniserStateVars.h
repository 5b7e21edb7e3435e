#pragma once

#include <string_view>

#include "html/parser/ParsingStrings.h"

namespace html {

// Constants shared by the tokeniser states: the stop sets that decide how far one bulk scan
// reads in each state, built once on first use.
class TokeniserStateVars {
public:
    static constexpr char32_t nullScalr = 0;
    static constexpr std::string_view nullScalrUTF8{"\0", 1};
    static constexpr std::string_view replacementUTF8 = "\xEF\xBF\xBD";
    static constexpr char32_t replacementChar = 0xFFFD;

    static const ParsingStrings& rcdataStop();                 // & < NUL
    static const ParsingStrings& rawtextStop();                // < NUL (Rawtext, ScriptData)
    static const ParsingStrings& scriptEscapedStop();          // - < NUL
    static const ParsingStrings& commentStop();                // - NUL
    static const ParsingStrings& attributeNameStop();          // whitespace / = > NUL " ' <
    static const ParsingStrings& attributeDoubleValueStop();   // " & NUL
    static const ParsingStrings& attributeSingleValueStop();   // ' & NUL
    static const ParsingStrings& attributeValueUnquotedStop(); // whitespace & > NUL " ' < = `
};

} // namespace html
