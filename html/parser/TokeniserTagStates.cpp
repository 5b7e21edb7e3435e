// Tokeniser states: tags and their attributes.
#include "html/parser/Tokeniser.h"
#include "html/parser/TokeniserStateVars.h"

namespace html {

using S = TokeniserState;
using Vars = TokeniserStateVars;

// Tag open state
void Tokeniser::TagOpen() {
    if (reader.isEmpty()) {
        eofError(S::TagOpen);
        emitPreviousByte(S::Data); // "<"
        return;
    }
    const char c = reader.input()[reader.getPos()];
    if (c == '!') {
        advanceTransition(S::MarkupDeclarationOpen);
    } else if (c == '/') {
        advanceTransition(S::EndTagOpen);
    } else if (c == '?') {
        transition(S::BogusComment); // the "?" belongs to the comment
    } else if (isAsciiLetter(static_cast<unsigned char>(c))) {
        createTagPending(true);
        transition(S::TagName);
    } else {
        error(S::TagOpen, reader.currentRepaired());
        emitPreviousByte(S::Data); // "<"
    }
}

// End tag open state
void Tokeniser::EndTagOpen() {
    if (reader.isEmpty()) {
        eofError(S::EndTagOpen);
        emit(reader.input().substr(reader.getPos() - 2, 2)); // "</"
        transition(S::Data);
    } else if (reader.matchesLetter()) {
        createTagPending(false);
        transition(S::TagName);
    } else if (reader.matches(U'>')) {
        error(S::EndTagOpen, U'>');
        advanceTransition(S::Data);
    } else {
        error(S::EndTagOpen, reader.currentRepaired());
        transition(S::BogusComment); // the character starts the comment
    }
}

// Tag name state
void Tokeniser::TagName() {
    tagPending->appendTagName(reader.consumeTagName());
    const char32_t c = consumeChar();
    switch (c) {
    case '\t':
    case '\n':
    case '\r':
    case '\f':
    case ' ': transition(S::BeforeAttributeName); break;
    case '/': transition(S::SelfClosingStartTag); break;
    case '>': emitTagToData(); break;
    case 0:
        error(S::TagName, c);
        tagPending->appendTagName(Vars::replacementChar);
        break;
    case endOfInput: eofToData(S::TagName); break;
    default: tagPending->appendTagName(c); break; // a malformed byte read as U+FFFD
    }
}

// Between attributes (before a name, or after one with no "=" yet): whitespace is skipped and
// anything that is not "/" or ">" opens a new attribute.
void Tokeniser::betweenAttributes(char32_t c, TokeniserState in) {
    switch (c) {
    case '\t':
    case '\n':
    case '\r':
    case '\f':
    case ' ': break;
    case '/': transition(S::SelfClosingStartTag); break;
    case '>': emitTagToData(); break;
    case 0:
        error(in, c);
        startAttribute(Vars::replacementChar);
        break;
    case endOfInput: eofToData(in); break;
    case '"':
    case '\'':
    case '<':
    case '=':
        error(in, c);
        startAttribute(previousByte());
        break;
    default:
        tagPending->newAttribute();
        unconsumeChar(c);
        transition(S::AttributeName);
        break;
    }
}

// Before attribute name state
void Tokeniser::BeforeAttributeName() {
    betweenAttributes(consumeChar(), S::BeforeAttributeName);
}

// Attribute name state
void Tokeniser::AttributeName() {
    tagPending->appendAttributeName(reader.consumeToAny(Vars::attributeNameStop()));
    const char32_t c = consumeChar();
    switch (c) {
    case '\t':
    case '\n':
    case '\r':
    case '\f':
    case ' ': transition(S::AfterAttributeName); break;
    case '/': transition(S::SelfClosingStartTag); break;
    case '=': transition(S::BeforeAttributeValue); break;
    case '>': emitTagToData(); break;
    case 0:
        error(S::AttributeName, c);
        tagPending->appendAttributeName(Vars::replacementChar);
        break;
    case endOfInput: eofToData(S::AttributeName); break;
    case '"':
    case '\'':
    case '<':
        error(S::AttributeName, c);
        tagPending->appendAttributeName(previousByte());
        break;
    default: tagPending->appendAttributeName(c); break;
    }
}

// After attribute name state
void Tokeniser::AfterAttributeName() {
    const char32_t c = consumeChar();
    if (c == '=')
        transition(S::BeforeAttributeValue);
    else
        betweenAttributes(c, S::AfterAttributeName);
}

// Before attribute value state
void Tokeniser::BeforeAttributeValue() {
    const char32_t c = consumeChar();
    switch (c) {
    case '\t':
    case '\n':
    case '\r':
    case '\f':
    case ' ': break;
    case '"': transition(S::AttributeValue_doubleQuoted); break;
    case '&':
        unconsumeChar(c);
        transition(S::AttributeValue_unquoted);
        break;
    case '\'': transition(S::AttributeValue_singleQuoted); break;
    case 0:
        error(S::BeforeAttributeValue, c);
        tagPending->appendAttributeValue(Vars::replacementChar);
        transition(S::AttributeValue_unquoted);
        break;
    case endOfInput: eofToData(S::BeforeAttributeValue); break;
    case '>':
        error(S::BeforeAttributeValue, c);
        emitTagToData();
        break;
    case '<':
    case '=':
    case '`':
        error(S::BeforeAttributeValue, c);
        tagPending->appendAttributeValue(previousByte());
        transition(S::AttributeValue_unquoted);
        break;
    default:
        unconsumeChar(c);
        transition(S::AttributeValue_unquoted);
        break;
    }
}

// A reference inside an attribute value is decoded in place.
void Tokeniser::attributeValueReference(char32_t additionalAllowed) {
    const std::string_view amp = previousByte();
    auto cps = consumeCharacterReference(additionalAllowed, true);
    if (!cps || cps->count == 0) {
        tagPending->appendAttributeValue(amp);
        return;
    }
    for (int i = 0; i < cps->count; ++i)
        tagPending->appendAttributeValue((*cps)[i]);
}

void Tokeniser::quotedAttributeValue(char32_t quote, const ParsingStrings& stop) {
    const std::string_view value = reader.consumeToAny(stop);
    if (!value.empty())
        tagPending->appendAttributeValue(value);
    else
        tagPending->setEmptyAttributeValue();
    const char32_t c = consumeChar();
    if (c == quote) {
        transition(S::AfterAttributeValue_quoted);
    } else if (c == '&') {
        attributeValueReference(quote);
    } else if (c == 0) {
        error(state, c);
        tagPending->appendAttributeValue(Vars::replacementChar);
    } else if (c == endOfInput) {
        eofToData(state);
    } else {
        tagPending->appendAttributeValue(c);
    }
}

// Attribute value (double-quoted) state
void Tokeniser::AttributeValue_doubleQuoted() {
    quotedAttributeValue(U'"', Vars::attributeDoubleValueStop());
}

// Attribute value (single-quoted) state
void Tokeniser::AttributeValue_singleQuoted() {
    quotedAttributeValue(U'\'', Vars::attributeSingleValueStop());
}

// Attribute value (unquoted) state
void Tokeniser::AttributeValue_unquoted() {
    const std::string_view value = reader.consumeToAny(Vars::attributeValueUnquotedStop());
    if (!value.empty()) tagPending->appendAttributeValue(value);
    const char32_t c = consumeChar();
    switch (c) {
    case '\t':
    case '\n':
    case '\r':
    case '\f':
    case ' ': transition(S::BeforeAttributeName); break;
    case '&': attributeValueReference(U'>'); break;
    case '>': emitTagToData(); break;
    case 0:
        error(S::AttributeValue_unquoted, c);
        tagPending->appendAttributeValue(Vars::replacementChar);
        break;
    case endOfInput: eofToData(S::AttributeValue_unquoted); break;
    case '"':
    case '\'':
    case '<':
    case '=':
    case '`':
        error(S::AttributeValue_unquoted, c);
        tagPending->appendAttributeValue(previousByte());
        break;
    default: tagPending->appendAttributeValue(c); break;
    }
}

// After attribute value (quoted) state
void Tokeniser::AfterAttributeValue_quoted() {
    const char32_t c = consumeChar();
    switch (c) {
    case '\t':
    case '\n':
    case '\r':
    case '\f':
    case ' ': transition(S::BeforeAttributeName); break;
    case '/': transition(S::SelfClosingStartTag); break;
    case '>': emitTagToData(); break;
    case endOfInput: eofToData(S::AfterAttributeValue_quoted); break;
    default:
        error(S::AfterAttributeValue_quoted, c);
        unconsumeChar(c);
        transition(S::BeforeAttributeName);
        break;
    }
}

// Self-closing start tag state
void Tokeniser::SelfClosingStartTag() {
    const char32_t c = consumeChar();
    switch (c) {
    case '>':
        tagPending->setSelfClosing(true);
        emitTagToData();
        break;
    case endOfInput: eofToData(S::SelfClosingStartTag); break;
    default:
        error(S::SelfClosingStartTag, c);
        unconsumeChar(c);
        transition(S::BeforeAttributeName);
        break;
    }
}

} // namespace html
