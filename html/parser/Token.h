#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "html/parser/TokenText.h"
#include "html/parser/TokenType.h"

namespace html {

class Attributes;

// A token of the HTML tokeniser. The tokeniser owns one token of each kind and reuses it, so a
// token (and every view it hands out) is valid only until the next Tokeniser::read().
class Token {
public:
    class Doctype;
    class Tag;
    class StartTag;
    class EndTag;
    class Comment;
    class Char;
    class EOF_;

    Token(const Token&) = delete;
    Token& operator=(const Token&) = delete;
    virtual ~Token() = default;

    TokenType type;

    bool isDoctype() const { return type == TokenType::Doctype; }
    bool isStartTag() const { return type == TokenType::StartTag; }
    bool isEndTag() const { return type == TokenType::EndTag; }
    bool isComment() const { return type == TokenType::Comment; }
    bool isCharacter() const { return type == TokenType::Char; }
    bool isEOF() const { return type == TokenType::EOF_; }
    std::string_view tokenType() const { return tokenTypeName(type); }

    Doctype& asDoctype();
    StartTag& asStartTag();
    EndTag& asEndTag();
    Tag& asTag(); // a start or an end tag
    Comment& asComment();
    Char& asCharacter();
    const Doctype& asDoctype() const;
    const StartTag& asStartTag() const;
    const EndTag& asEndTag() const;
    const Tag& asTag() const;
    const Comment& asComment() const;
    const Char& asCharacter() const;

    virtual void reset() {}
    // A readable form for debugging and tests: "<p id=\"a\">", "</p>", "<!--x-->", the text.
    virtual std::string toString() const = 0;

protected:
    explicit Token(TokenType type) : type(type) {}
};

class Token::Doctype final : public Token {
public:
    Doctype() : Token(TokenType::Doctype) {}

    std::string name;
    std::optional<std::string_view> pubSysKey; // "PUBLIC" or "SYSTEM", as matched
    std::string publicIdentifier;
    std::string systemIdentifier;
    bool forceQuirks = false;

    const std::string& getName() const { return name; }
    std::optional<std::string_view> getPubSysKey() const { return pubSysKey; }
    const std::string& getPublicIdentifier() const { return publicIdentifier; }
    const std::string& getSystemIdentifier() const { return systemIdentifier; }
    bool isForceQuirks() const { return forceQuirks; }

    void reset() override;
    std::string toString() const override;
};

// One attribute of a tag token: name as written, value (empty when none was given).
struct TokenAttribute {
    std::string_view name;
    std::string_view value;
    bool hasValue; // false for a bare name such as `disabled`
};

class Token::Tag : public Token {
public:
    // The name as written and its ASCII-lower-case form.
    std::string_view name() const { return tagName.str(); }
    std::string_view normalName() const { return lowered ? std::string_view(normal) : tagName.str(); }
    bool isSelfClosing() const { return _selfClosing; }
    void setSelfClosing(bool value) { _selfClosing = value; }

    // Sets the name (copied), for tags the tree builder makes itself.
    Tag& name(std::string_view newName);

    // Attributes in source order; a repeated name keeps only its first occurrence.
    bool hasAttributes() const { return !attrs.empty(); }
    std::size_t attributeCount() const { return attrs.size(); }
    TokenAttribute attribute(std::size_t i) const;
    // The value of the first attribute whose name equals `key` ignoring ASCII case.
    std::optional<std::string_view> attributeValue(std::string_view key) const;
    // Adds an attribute (name and value copied), for tags the tree builder makes itself.
    void addAttribute(std::string_view key, std::string_view value, bool hasValue = true);

    // Converts the attributes for an element (defined with the node tree's Attributes).
    void copyAttributesTo(Attributes& target) const;

    void reset() override;
    std::string toString() const override;

    // Building, used by the tokeniser. Slices must be views into the parser's input.
    void appendTagName(std::string_view slice);
    void appendTagName(char32_t c);
    void appendAttributeName(std::string_view slice);
    void appendAttributeName(char32_t c);
    void appendAttributeValue(std::string_view slice); // a slice of the input
    void appendAttributeValueCopy(std::string_view text);
    void appendAttributeValue(char32_t c);
    void setEmptyAttributeValue() { _hasEmptyAttributeValue = true; }
    // Completes the pending attribute, if it has a name.
    void newAttribute();
    bool hasPendingAttribute() const { return !_pendingAttributeName.empty(); }

protected:
    explicit Tag(TokenType type) : Token(type) {}

private:
    struct Stored {
        std::size_t nameOff, nameLen; // into names
        std::size_t valueOff, valueLen;
        const char* valuePtr; // a view into the input, or null when the value is in values
        bool hasValue;
    };
    void recomputeNormal();
    bool isDuplicate(std::string_view name) const;

    TokenText tagName;
    std::string normal; // the lower-cased name, kept only when the name has upper-case letters
    bool lowered = false;
    TokenText _pendingAttributeName;
    TokenText _pendingAttributeValue;
    bool _hasEmptyAttributeValue = false;
    bool _hasPendingAttributeValue = false;
    bool _selfClosing = false;

    std::vector<Stored> attrs;
    std::string names;  // attribute names, end to end
    std::string values; // attribute values that are not plain slices of the input
    mutable std::unordered_set<std::string> seenNames; // lower-cased names, for tags with many attributes
};

class Token::StartTag final : public Token::Tag {
public:
    StartTag() : Tag(TokenType::StartTag) {}
};

class Token::EndTag final : public Token::Tag {
public:
    EndTag() : Tag(TokenType::EndTag) {}
};

class Token::Comment final : public Token {
public:
    Comment() : Token(TokenType::Comment) { data.reserve(1024); }

    TokenText data;
    bool bogus = false;

    std::string_view getData() const { return data.str(); }
    void reset() override;
    std::string toString() const override;
};

class Token::Char final : public Token {
public:
    Char() : Token(TokenType::Char) {}

    std::string_view getData() const { return data; }
    void setData(std::string_view d) { data = d; }
    void reset() override { data = {}; }
    std::string toString() const override { return std::string(data); }

private:
    std::string_view data;
};

class Token::EOF_ final : public Token {
public:
    EOF_() : Token(TokenType::EOF_) {}
    std::string toString() const override { return ""; }
};

inline Token::Doctype& Token::asDoctype() {
    return static_cast<Doctype&>(*this);
}
inline Token::StartTag& Token::asStartTag() {
    return static_cast<StartTag&>(*this);
}
inline Token::EndTag& Token::asEndTag() {
    return static_cast<EndTag&>(*this);
}
inline Token::Tag& Token::asTag() {
    return static_cast<Tag&>(*this);
}
inline Token::Comment& Token::asComment() {
    return static_cast<Comment&>(*this);
}
inline Token::Char& Token::asCharacter() {
    return static_cast<Char&>(*this);
}
inline const Token::Doctype& Token::asDoctype() const {
    return static_cast<const Doctype&>(*this);
}
inline const Token::StartTag& Token::asStartTag() const {
    return static_cast<const StartTag&>(*this);
}
inline const Token::EndTag& Token::asEndTag() const {
    return static_cast<const EndTag&>(*this);
}
inline const Token::Tag& Token::asTag() const {
    return static_cast<const Tag&>(*this);
}
inline const Token::Comment& Token::asComment() const {
    return static_cast<const Comment&>(*this);
}
inline const Token::Char& Token::asCharacter() const {
    return static_cast<const Char&>(*this);
}

} // namespace html
