// Tokeniser states: RCDATA (title, textarea), RAWTEXT (style and friends), script data with
// its escapes, and PLAINTEXT.
#include "html/parser/HtmlWhitespace.h"
#include "html/parser/Tokeniser.h"
#include "html/parser/TokeniserStateVars.h"

namespace html {

using S = TokeniserState;
using Vars = TokeniserStateVars;

// The text states share one shape: a bulk read up to the next interesting byte.

// A NUL in raw text becomes U+FFFD (unlike in data, where the tree builder decides).
void Tokeniser::nulInText(TokeniserState in) {
    error(in, 0);
    reader.advance();
    emit(Vars::replacementUTF8);
}

// RCDATA state
void Tokeniser::Rcdata() {
    if (reader.isEmpty()) {
        emit(eofPending);
        return;
    }
    switch (reader.input()[reader.getPos()]) {
    case '&': advanceTransition(S::CharacterReferenceInRcdata); break;
    case '<': advanceTransition(S::RcdataLessthanSign); break;
    case '\0': nulInText(S::Rcdata); break;
    default: emit(reader.consumeToAny(Vars::rcdataStop())); break;
    }
}

// RAWTEXT state
void Tokeniser::Rawtext() {
    if (reader.isEmpty()) {
        emit(eofPending);
        return;
    }
    switch (reader.input()[reader.getPos()]) {
    case '<': advanceTransition(S::RawtextLessthanSign); break;
    case '\0': nulInText(S::Rawtext); break;
    default: emit(reader.consumeToAny(Vars::rawtextStop())); break;
    }
}

// Script data state
void Tokeniser::ScriptData() {
    if (reader.isEmpty()) {
        emit(eofPending);
        return;
    }
    switch (reader.input()[reader.getPos()]) {
    case '<': advanceTransition(S::ScriptDataLessthanSign); break;
    case '\0': nulInText(S::ScriptData); break;
    default: emit(reader.consumeToAny(Vars::rawtextStop())); break;
    }
}

// PLAINTEXT state
void Tokeniser::PLAINTEXT() {
    if (reader.isEmpty()) {
        emit(eofPending);
        return;
    }
    if (reader.input()[reader.getPos()] == '\0') {
        nulInText(S::PLAINTEXT);
        return;
    }
    emit(reader.consumeTo(Vars::nullScalr));
}

// RCDATA ------------------------------------------------------------------------------------------

// RCDATA less-than sign state
void Tokeniser::RcdataLessthanSign() {
    if (reader.matches(U'/')) {
        createTempBuffer();
        advanceTransition(S::RCDATAEndTagOpen);
    } else if (reader.matchesLetter() && !lastStartTag.empty() && !closingTagAhead()) {
        // The element is never closed: end it here rather than swallow the rest of the page.
        createTagPending(false).name(lastStartTag);
        emitTagPending();
        reader.unconsume(); // give the "<" back
        transition(S::Data);
    } else {
        emitPreviousByte(S::Rcdata);
    }
}

void Tokeniser::rawTextEndTagOpen(TokeniserState textState, TokeniserState nameState) {
    if (reader.matchesLetter()) {
        createTagPending(false);
        transition(nameState);
    } else {
        emit(reader.input().substr(reader.getPos() - 2, 2)); // "</"
        transition(textState);
    }
}

void Tokeniser::rawTextEndTagName(TokeniserState textState) {
    if (reader.matchesLetter()) {
        const std::string_view letters = reader.consumeLetterSequence();
        tagPending->appendTagName(letters);
        dataBuffer.append(letters);
        return;
    }
    if (isAppropriateEndTagToken() && !reader.isEmpty()) {
        const char32_t c = reader.currentRepaired();
        if (isWhitespace(c)) {
            advanceTransition(S::BeforeAttributeName);
            return;
        }
        if (c == '/') {
            advanceTransition(S::SelfClosingStartTag);
            return;
        }
        if (c == '>') {
            reader.advance();
            emitTagPending();
            transition(S::Data);
            return;
        }
    }
    // Not the end tag after all: the "</" and the letters are text.
    const std::size_t len = 2 + dataBuffer.size();
    emit(reader.input().substr(reader.getPos() - len, len));
    transition(textState);
}

// RCDATA end tag open state
void Tokeniser::RCDATAEndTagOpen() {
    rawTextEndTagOpen(S::Rcdata, S::RCDATAEndTagName);
}

// RCDATA end tag name state
void Tokeniser::RCDATAEndTagName() {
    rawTextEndTagName(S::Rcdata);
}

// RAWTEXT -----------------------------------------------------------------------------------------

// RAWTEXT less-than sign state
void Tokeniser::RawtextLessthanSign() {
    if (reader.matches(U'/')) {
        createTempBuffer();
        advanceTransition(S::RawtextEndTagOpen);
    } else {
        emitPreviousByte(S::Rawtext);
    }
}

// RAWTEXT end tag open state
void Tokeniser::RawtextEndTagOpen() {
    rawTextEndTagOpen(S::Rawtext, S::RawtextEndTagName);
}

// RAWTEXT end tag name state
void Tokeniser::RawtextEndTagName() {
    rawTextEndTagName(S::Rawtext);
}

// Script data -------------------------------------------------------------------------------------

// Script data less-than sign state
void Tokeniser::ScriptDataLessthanSign() {
    if (reader.matches(U'/')) {
        createTempBuffer();
        advanceTransition(S::ScriptDataEndTagOpen);
    } else if (reader.matches(U'!')) {
        reader.advance();
        emit(reader.input().substr(reader.getPos() - 2, 2)); // "<!"
        transition(S::ScriptDataEscapeStart);
    } else {
        emitPreviousByte(S::ScriptData);
    }
}

// Script data end tag open state
void Tokeniser::ScriptDataEndTagOpen() {
    rawTextEndTagOpen(S::ScriptData, S::ScriptDataEndTagName);
}

// Script data end tag name state
void Tokeniser::ScriptDataEndTagName() {
    rawTextEndTagName(S::ScriptData);
}

// Script data escape start state
void Tokeniser::ScriptDataEscapeStart() {
    if (reader.matches(U'-')) {
        reader.advance();
        emitPreviousByte(S::ScriptDataEscapeStartDash);
    } else {
        transition(S::ScriptData);
    }
}

// Script data escape start dash state
void Tokeniser::ScriptDataEscapeStartDash() {
    if (reader.matches(U'-')) {
        reader.advance();
        emitPreviousByte(S::ScriptDataEscapedDashDash);
    } else {
        transition(S::ScriptData);
    }
}

// Script data escaped state
void Tokeniser::ScriptDataEscaped() {
    if (reader.isEmpty()) {
        eofToData(S::ScriptDataEscaped);
        return;
    }
    switch (reader.input()[reader.getPos()]) {
    case '-':
        reader.advance();
        emitPreviousByte(S::ScriptDataEscapedDash);
        break;
    case '<': advanceTransition(S::ScriptDataEscapedLessthanSign); break;
    case '\0': nulInText(S::ScriptDataEscaped); break;
    default: emit(reader.consumeToAny(Vars::scriptEscapedStop())); break;
    }
}

// The dash states of escaped script: a NUL is replaced, the end of the input ends the script,
// anything else goes back to the escaped text state unread.
void Tokeniser::escapedDashOther(char32_t c, TokeniserState in, TokeniserState textState) {
    if (c == 0) {
        error(in, c);
        emit(Vars::replacementUTF8);
        transition(textState);
    } else if (c == endOfInput) {
        eofToData(in);
    } else {
        unconsumeChar(c);
        transition(textState);
    }
}

// Script data escaped dash state
void Tokeniser::ScriptDataEscapedDash() {
    const char32_t c = consumeChar();
    switch (c) {
    case '-': emitPreviousByte(S::ScriptDataEscapedDashDash); break;
    case '<': transition(S::ScriptDataEscapedLessthanSign); break;
    default: escapedDashOther(c, S::ScriptDataEscapedDash, S::ScriptDataEscaped); break;
    }
}

// Script data escaped dash dash state
void Tokeniser::ScriptDataEscapedDashDash() {
    const char32_t c = consumeChar();
    switch (c) {
    case '-': emit(previousByte()); break;
    case '<': transition(S::ScriptDataEscapedLessthanSign); break;
    case '>': emitPreviousByte(S::ScriptData); break;
    default: escapedDashOther(c, S::ScriptDataEscapedDashDash, S::ScriptDataEscaped); break;
    }
}

// Script data escaped less-than sign state
void Tokeniser::ScriptDataEscapedLessthanSign() {
    if (reader.matchesLetter()) {
        createTempBuffer();
        emitPreviousByte(S::ScriptDataDoubleEscapeStart); // "<"
    } else if (reader.matches(U'/')) {
        createTempBuffer();
        advanceTransition(S::ScriptDataEscapedEndTagOpen);
    } else {
        emitPreviousByte(S::ScriptDataEscaped);
    }
}

// Script data escaped end tag open state
void Tokeniser::ScriptDataEscapedEndTagOpen() {
    rawTextEndTagOpen(S::ScriptDataEscaped, S::ScriptDataEscapedEndTagName);
}

// Script data escaped end tag name state
void Tokeniser::ScriptDataEscapedEndTagName() {
    rawTextEndTagName(S::ScriptDataEscaped);
}

// After "<script" (double escape start) or "</script" (double escape end) inside an escaped
// script: whether the letters spelled "script" decides the next state.
void Tokeniser::doubleEscapeBoundary(TokeniserState ifScript, TokeniserState otherwise) {
    if (reader.matchesLetter()) {
        const std::string_view letters = reader.consumeLetterSequence();
        dataBuffer.append(letters);
        emit(letters);
        return;
    }
    const char32_t c = consumeChar();
    if (isWhitespace(c) || c == '/' || c == '>') {
        transition(StringUtil::equalsIgnoreCase(dataBuffer, "script") ? ifScript : otherwise);
        emit(previousByte());
    } else {
        unconsumeChar(c);
        transition(otherwise);
    }
}

// Script data double escape start state
void Tokeniser::ScriptDataDoubleEscapeStart() {
    doubleEscapeBoundary(S::ScriptDataDoubleEscaped, S::ScriptDataEscaped);
}

// Script data double escaped state
void Tokeniser::ScriptDataDoubleEscaped() {
    if (reader.isEmpty()) {
        eofToData(S::ScriptDataDoubleEscaped);
        return;
    }
    switch (reader.input()[reader.getPos()]) {
    case '-':
        reader.advance();
        emitPreviousByte(S::ScriptDataDoubleEscapedDash);
        break;
    case '<':
        reader.advance();
        emitPreviousByte(S::ScriptDataDoubleEscapedLessthanSign);
        break;
    case '\0': nulInText(S::ScriptDataDoubleEscaped); break;
    default: emit(reader.consumeToAny(Vars::scriptEscapedStop())); break;
    }
}

// Script data double escaped dash state
void Tokeniser::ScriptDataDoubleEscapedDash() {
    const char32_t c = consumeChar();
    switch (c) {
    case '-': emitPreviousByte(S::ScriptDataDoubleEscapedDashDash); break;
    case '<': emitPreviousByte(S::ScriptDataDoubleEscapedLessthanSign); break;
    default: escapedDashOther(c, S::ScriptDataDoubleEscapedDash, S::ScriptDataDoubleEscaped); break;
    }
}

// Script data double escaped dash dash state
void Tokeniser::ScriptDataDoubleEscapedDashDash() {
    const char32_t c = consumeChar();
    switch (c) {
    case '-': emit(previousByte()); break;
    case '<': emitPreviousByte(S::ScriptDataDoubleEscapedLessthanSign); break;
    case '>': emitPreviousByte(S::ScriptData); break;
    default: escapedDashOther(c, S::ScriptDataDoubleEscapedDashDash, S::ScriptDataDoubleEscaped); break;
    }
}

// Script data double escaped less-than sign state
void Tokeniser::ScriptDataDoubleEscapedLessthanSign() {
    if (reader.matches(U'/')) {
        reader.advance();
        emit(previousByte());
        createTempBuffer();
        transition(S::ScriptDataDoubleEscapeEnd);
    } else {
        transition(S::ScriptDataDoubleEscaped);
    }
}

// Script data double escape end state
void Tokeniser::ScriptDataDoubleEscapeEnd() {
    doubleEscapeBoundary(S::ScriptDataEscaped, S::ScriptDataDoubleEscaped);
}

} // namespace html
