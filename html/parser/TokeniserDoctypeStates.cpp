// Tokeniser states: the doctype.
#include "html/parser/Tokeniser.h"
#include "html/parser/TokeniserStateVars.h"
#include "html/parser/Utf8.h"

namespace html {

using S = TokeniserState;
using Vars = TokeniserStateVars;

// A doctype cut short by ">" or the end of the input: emitted, in quirks mode.
void Tokeniser::doctypeEofOrGt(char32_t c) {
    if (c == endOfInput)
        eofError(state);
    else
        error(state, c);
    doctypePending.forceQuirks = true;
    emitDoctypePending();
    transition(S::Data);
}

void Tokeniser::Doctype() {
    const char32_t c = consumeChar();
    if (isWhitespace(c)) {
        transition(S::BeforeDoctypeName);
    } else if (c == endOfInput) {
        createDoctypePending();
        doctypeEofOrGt(c);
    } else {
        error(S::Doctype, c);
        unconsumeChar(c);
        transition(S::BeforeDoctypeName);
    }
}

void Tokeniser::BeforeDoctypeName() {
    if (reader.matchesLetter()) {
        createDoctypePending();
        transition(S::DoctypeName);
        return;
    }
    const char32_t c = consumeChar();
    if (isWhitespace(c)) return;
    createDoctypePending();
    if (c == '>' || c == endOfInput) {
        doctypeEofOrGt(c);
        return;
    }
    if (c == 0) {
        error(S::BeforeDoctypeName, c);
        utf8::append(doctypePending.name, Vars::replacementChar);
    } else {
        utf8::append(doctypePending.name, c);
    }
    transition(S::DoctypeName);
}

void Tokeniser::DoctypeName() {
    if (reader.matchesLetter()) {
        doctypePending.name += reader.consumeLetterSequence(); // as written: the builder normalises
        return;
    }
    const char32_t c = consumeChar();
    if (c == '>') {
        emitDoctypePending();
        transition(S::Data);
    } else if (isWhitespace(c)) {
        transition(S::AfterDoctypeName);
    } else if (c == endOfInput) {
        doctypeEofOrGt(c);
    } else if (c == 0) {
        error(S::DoctypeName, c);
        utf8::append(doctypePending.name, Vars::replacementChar);
    } else {
        utf8::append(doctypePending.name, c);
    }
}

void Tokeniser::AfterDoctypeName() {
    if (reader.isEmpty()) {
        doctypeEofOrGt(endOfInput);
        return;
    }
    if (reader.matchesAny({U'\t', U'\n', U'\r', U'\f', U' '})) {
        reader.advance();
    } else if (reader.matches(U'>')) {
        emitDoctypePending();
        advanceTransition(S::Data);
    } else if (reader.matchConsumeIgnoreCase("PUBLIC")) {
        doctypePending.pubSysKey = "PUBLIC";
        transition(S::AfterDoctypePublicKeyword);
    } else if (reader.matchConsumeIgnoreCase("SYSTEM")) {
        doctypePending.pubSysKey = "SYSTEM";
        transition(S::AfterDoctypeSystemKeyword);
    } else {
        error(S::AfterDoctypeName, reader.currentRepaired());
        doctypePending.forceQuirks = true;
        advanceTransition(S::BogusDoctype);
    }
}

void Tokeniser::AfterDoctypePublicKeyword() {
    const char32_t c = consumeChar();
    if (isWhitespace(c)) {
        transition(S::BeforeDoctypePublicIdentifier);
    } else if (c == '"' || c == '\'') {
        error(S::AfterDoctypePublicKeyword, c);
        transition(c == '"' ? S::DoctypePublicIdentifier_doubleQuoted
                            : S::DoctypePublicIdentifier_singleQuoted);
    } else if (c == '>' || c == endOfInput) {
        doctypeEofOrGt(c);
    } else {
        error(S::AfterDoctypePublicKeyword, c);
        doctypePending.forceQuirks = true;
        transition(S::BogusDoctype);
    }
}

void Tokeniser::BeforeDoctypePublicIdentifier() {
    const char32_t c = consumeChar();
    if (isWhitespace(c)) {
        return;
    } else if (c == '"' || c == '\'') {
        transition(c == '"' ? S::DoctypePublicIdentifier_doubleQuoted
                            : S::DoctypePublicIdentifier_singleQuoted);
    } else if (c == '>' || c == endOfInput) {
        doctypeEofOrGt(c);
    } else {
        error(S::BeforeDoctypePublicIdentifier, c);
        doctypePending.forceQuirks = true;
        transition(S::BogusDoctype);
    }
}

void Tokeniser::doctypeIdentifier(std::string& target, char32_t quote, TokeniserState after) {
    const char32_t c = consumeChar();
    if (c == quote) {
        transition(after);
    } else if (c == '>' || c == endOfInput) {
        doctypeEofOrGt(c);
    } else if (c == 0) {
        error(state, c);
        utf8::append(target, Vars::replacementChar);
    } else {
        utf8::append(target, c);
    }
}

void Tokeniser::DoctypePublicIdentifier_doubleQuoted() {
    doctypeIdentifier(doctypePending.publicIdentifier, U'"', S::AfterDoctypePublicIdentifier);
}

void Tokeniser::DoctypePublicIdentifier_singleQuoted() {
    doctypeIdentifier(doctypePending.publicIdentifier, U'\'', S::AfterDoctypePublicIdentifier);
}

void Tokeniser::AfterDoctypePublicIdentifier() {
    const char32_t c = consumeChar();
    if (isWhitespace(c)) {
        transition(S::BetweenDoctypePublicAndSystemIdentifiers);
    } else if (c == '>') {
        emitDoctypePending();
        transition(S::Data);
    } else if (c == '"' || c == '\'') {
        error(S::AfterDoctypePublicIdentifier, c);
        transition(c == '"' ? S::DoctypeSystemIdentifier_doubleQuoted
                            : S::DoctypeSystemIdentifier_singleQuoted);
    } else if (c == endOfInput) {
        doctypeEofOrGt(c);
    } else {
        error(S::AfterDoctypePublicIdentifier, c);
        doctypePending.forceQuirks = true;
        transition(S::BogusDoctype);
    }
}

void Tokeniser::BetweenDoctypePublicAndSystemIdentifiers() {
    const char32_t c = consumeChar();
    if (isWhitespace(c)) {
        return;
    } else if (c == '>') {
        emitDoctypePending();
        transition(S::Data);
    } else if (c == '"' || c == '\'') {
        transition(c == '"' ? S::DoctypeSystemIdentifier_doubleQuoted
                            : S::DoctypeSystemIdentifier_singleQuoted);
    } else if (c == endOfInput) {
        doctypeEofOrGt(c);
    } else {
        error(S::BetweenDoctypePublicAndSystemIdentifiers, c);
        doctypePending.forceQuirks = true;
        transition(S::BogusDoctype);
    }
}

void Tokeniser::AfterDoctypeSystemKeyword() {
    const char32_t c = consumeChar();
    if (isWhitespace(c)) {
        transition(S::BeforeDoctypeSystemIdentifier);
    } else if (c == '"' || c == '\'') {
        error(S::AfterDoctypeSystemKeyword, c);
        transition(c == '"' ? S::DoctypeSystemIdentifier_doubleQuoted
                            : S::DoctypeSystemIdentifier_singleQuoted);
    } else if (c == '>' || c == endOfInput) {
        doctypeEofOrGt(c);
    } else {
        error(S::AfterDoctypeSystemKeyword, c);
        doctypePending.forceQuirks = true;
        transition(S::BogusDoctype);
    }
}

void Tokeniser::BeforeDoctypeSystemIdentifier() {
    const char32_t c = consumeChar();
    if (isWhitespace(c)) {
        return;
    } else if (c == '"' || c == '\'') {
        transition(c == '"' ? S::DoctypeSystemIdentifier_doubleQuoted
                            : S::DoctypeSystemIdentifier_singleQuoted);
    } else if (c == '>' || c == endOfInput) {
        doctypeEofOrGt(c);
    } else {
        error(S::BeforeDoctypeSystemIdentifier, c);
        doctypePending.forceQuirks = true;
        transition(S::BogusDoctype);
    }
}

void Tokeniser::DoctypeSystemIdentifier_doubleQuoted() {
    doctypeIdentifier(doctypePending.systemIdentifier, U'"', S::AfterDoctypeSystemIdentifier);
}

void Tokeniser::DoctypeSystemIdentifier_singleQuoted() {
    doctypeIdentifier(doctypePending.systemIdentifier, U'\'', S::AfterDoctypeSystemIdentifier);
}

void Tokeniser::AfterDoctypeSystemIdentifier() {
    const char32_t c = consumeChar();
    if (isWhitespace(c)) {
        return;
    } else if (c == '>') {
        emitDoctypePending();
        transition(S::Data);
    } else if (c == endOfInput) {
        doctypeEofOrGt(c);
    } else {
        error(S::AfterDoctypeSystemIdentifier, c);
        transition(S::BogusDoctype); // not quirks: the identifiers were complete
    }
}

void Tokeniser::BogusDoctype() {
    reader.consumeTo(U'>');
    if (!reader.isEmpty()) reader.advance();
    emitDoctypePending();
    transition(S::Data);
}

} // namespace html
