#pragma once

#include <cstdint>
#include <string_view>

namespace html {

// The kinds of token the tokeniser hands to the tree builder. (EOF is a C macro, hence EOF_.)
enum class TokenType : std::uint8_t { Doctype, StartTag, EndTag, Comment, Char, EOF_ };

// The kind's name as it appears in parse error messages: "Doctype", ..., "EOF".
constexpr std::string_view tokenTypeName(TokenType type) {
    switch (type) {
    case TokenType::Doctype: return "Doctype";
    case TokenType::StartTag: return "StartTag";
    case TokenType::EndTag: return "EndTag";
    case TokenType::Comment: return "Comment";
    case TokenType::Char: return "Char";
    case TokenType::EOF_: return "EOF";
    }
    return "";
}

} // namespace html
