#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "html/parser/CharacterReader.h"
#include "html/parser/Entities.h"
#include "html/parser/ParseErrorList.h"
#include "html/parser/Token.h"
#include "html/parser/TokenText.h"
#include "html/parser/TokeniserState.h"

namespace html {

// Turns the reader's bytes into tokens, one at a time, for the tree builder.
//
// The reader's input should have been through CharacterReader::preprocess (newlines, bad
// UTF-8). Tokens and the text they hold are views that stay valid until the next read().
class Tokeniser {
public:
    Tokeniser(CharacterReader& reader, ParseErrorList* errors);
    Tokeniser(const Tokeniser&) = delete;
    Tokeniser& operator=(const Tokeniser&) = delete;

    // The next token. Character data between two other tokens comes out as one Char token.
    Token& read();

    // Puts a token in the pending slot (the tree builder uses it for synthetic end tags).
    void emit(Token& token);
    // Character data: a slice of the input (or of static storage) is kept without copying.
    void emit(std::string_view slice) { pendingChars.appendSlice(slice); }
    void emitCopy(std::string_view text) { pendingChars.append(text); }
    void emit(char32_t c) { pendingChars.append(c); }

    TokeniserState getState() const { return state; }
    void transition(TokeniserState newState) { state = newState; }
    void advanceTransition(TokeniserState newState) {
        reader.advance();
        state = newState;
    }
    void acknowledgeSelfClosingFlag() { selfClosingFlagAcknowledged = true; }

    Token::Tag& createTagPending(bool start);
    void emitTagPending();
    void createCommentPending(bool bogus = false);
    void emitCommentPending();
    void createDoctypePending();
    void emitDoctypePending();
    void createTempBuffer() { dataBuffer.clear(); }
    bool isAppropriateEndTagToken() const;
    std::string_view appropriateEndTagName() const { return lastStartTag; }

    // Error reports, kept only when tracking is on and the list has room.
    void error(TokeniserState in, char32_t unexpected);
    void eofError(TokeniserState in);
    void error(std::string_view message);
    bool tracking() const { return errors && errors->canAddError(); }

    std::optional<Entities::Codepoints>
    consumeCharacterReference(std::optional<char32_t> additionalAllowedCharacter, bool inAttribute);
    // Decodes every reference from the reader's position to its end.
    std::string unescapeEntities(bool inAttribute);

    CharacterReader& getReader() { return reader; }

private:
    // What consumeChar() returns at the end of the input: not a scalar, so a U+FFFF in the
    // text is never mistaken for the end.
    static constexpr char32_t endOfInput = 0xFFFFFFFF;

    char32_t consumeChar() { return reader.isEmpty() ? endOfInput : reader.consumeRepaired(); }
    void unconsumeChar(char32_t c) {
        if (c != endOfInput) reader.unconsume();
    }
    // The byte just consumed, as a slice of the input, so runs of text stay contiguous.
    std::string_view previousByte() const { return reader.input().substr(reader.getPos() - 1, 1); }
    static bool isWhitespace(char32_t c) {
        return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
    }
    static bool isAsciiLetter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    bool closingTagAhead();
    void step();

    // Steps shared by many states.
    void eofToData(TokeniserState in) {
        eofError(in);
        transition(TokeniserState::Data);
    }
    void emitTagToData() {
        emitTagPending();
        transition(TokeniserState::Data);
    }
    void emitCommentToData() {
        emitCommentPending();
        transition(TokeniserState::Data);
    }
    void emitDoctypeToData() {
        emitDoctypePending();
        transition(TokeniserState::Data);
    }
    // The byte just consumed goes out as text (a slice, so the run stays contiguous). Out of
    // line: inlined, it bloats the prologue of TagOpen, where it is only the error path.
    void emitPreviousByte(TokeniserState next);

    // The states, one member function each, and the steps they share, grouped as the files
    // that define them.
#define HTML_TOKENISER_STATE(name, title) void name();
#include "html/parser/TokeniserStates.def"
#undef HTML_TOKENISER_STATE
    // Data and character references.
    void characterReferenceInText(TokeniserState textState);
    // RCDATA, RAWTEXT, script data and PLAINTEXT.
    void rawTextEndTagOpen(TokeniserState textState, TokeniserState nameState);
    void rawTextEndTagName(TokeniserState textState);
    void doubleEscapeBoundary(TokeniserState ifScript, TokeniserState otherwise);
    void nulInText(TokeniserState in);
    void escapedDashOther(char32_t c, TokeniserState in, TokeniserState textState);
    // Tags and attributes.
    void quotedAttributeValue(char32_t quote, const ParsingStrings& stop);
    void attributeValueReference(char32_t additionalAllowed);
    void betweenAttributes(char32_t c, TokeniserState in);
    template <typename NameStart> void startAttribute(NameStart first) {
        tagPending->newAttribute();
        tagPending->appendAttributeName(first);
        transition(TokeniserState::AttributeName);
    }
    // Comments and markup declarations.
    void commentEof(TokeniserState in) {
        eofError(in);
        emitCommentToData();
    }
    void commentNul(TokeniserState in, std::string_view before);
    // Doctypes.
    void doctypeIdentifier(std::string& target, char32_t quote, TokeniserState after);
    void doctypeEofOrGt(char32_t c); // force quirks and emit
    void afterDoctypeKeyword(TokeniserState in, TokeniserState before, bool system);
    void beforeDoctypeIdentifier(TokeniserState in, bool system);
    void toBogusDoctype(TokeniserState in, char32_t c);

    CharacterReader& reader;
    ParseErrorList* errors;
    TokeniserState state = TokeniserState::Data;
    Token* emitPending = nullptr;
    bool isEmitPending = false;
    TokenText pendingChars;      // character data waiting to go out
    bool charsHandedOut = false; // pendingChars backs the Char token last returned
    std::string dataBuffer;      // letters of a possible end tag in the raw-text states
    Token::Tag* tagPending = nullptr;
    Token::StartTag startPending;
    Token::EndTag endPending;
    Token::Char charPending;
    Token::Doctype doctypePending;
    Token::Comment commentPending;
    Token::EOF_ eofPending;
    std::string lastStartTag; // normal name of the last start tag emitted; empty before one
    bool selfClosingFlagAcknowledged = true;

    // Where the closing tag of an RCDATA element was last found, so that every "<" in a long
    // title does not search the rest of the document again.
    std::string closerName;
    bool closerKnown = false;
    bool closerFound = false;
    std::size_t closerAt = 0;
};

} // namespace html
