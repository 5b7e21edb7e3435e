#include "html/parser/TokeniserStateVars.h"

namespace html {

namespace {
constexpr std::string_view nul{"\0", 1};
}

const ParsingStrings& TokeniserStateVars::rcdataStop() {
    static const ParsingStrings set{"&", "<", nul};
    return set;
}

const ParsingStrings& TokeniserStateVars::rawtextStop() {
    static const ParsingStrings set{"<", nul};
    return set;
}

const ParsingStrings& TokeniserStateVars::scriptEscapedStop() {
    static const ParsingStrings set{"-", "<", nul};
    return set;
}

const ParsingStrings& TokeniserStateVars::commentStop() {
    static const ParsingStrings set{"-", nul};
    return set;
}

const ParsingStrings& TokeniserStateVars::attributeNameStop() {
    static const ParsingStrings set{"\t", "\n", "\r", "\f", " ", "/", "=", ">", nul, "\"", "'", "<"};
    return set;
}

const ParsingStrings& TokeniserStateVars::attributeDoubleValueStop() {
    static const ParsingStrings set{"\"", "&", nul};
    return set;
}

const ParsingStrings& TokeniserStateVars::attributeSingleValueStop() {
    static const ParsingStrings set{"'", "&", nul};
    return set;
}

const ParsingStrings& TokeniserStateVars::attributeValueUnquotedStop() {
    static const ParsingStrings set{"\t", "\n", "\r", "\f", " ", "&", ">", nul, "\"", "'", "<", "=", "`"};
    return set;
}

} // namespace html
