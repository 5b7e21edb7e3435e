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
    emitDoctypeToData();
}

// DOCTYPE state
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

// Before DOCTYPE name state
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

// DOCTYPE name state
void Tokeniser::DoctypeName() {
    if (reader.matchesLetter()) {
        doctypePending.name += reader.consumeLetterSequence(); // as written: the builder normalises
        return;
    }
    const char32_t c = consumeChar();
    if (c == '>') {
        emitDoctypeToData();
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

// After DOCTYPE name state
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

namespace {
TokeniserState quotedIdentifierState(char32_t quote, bool system) {
    if (system)
        return quote == '"' ? S::DoctypeSystemIdentifier_doubleQuoted
                            : S::DoctypeSystemIdentifier_singleQuoted;
    return quote == '"' ? S::DoctypePublicIdentifier_doubleQuoted : S::DoctypePublicIdentifier_singleQuoted;
}
} // namespace

// A doctype that cannot be read further: the rest up to ">" is skipped, in quirks mode.
void Tokeniser::toBogusDoctype(TokeniserState in, char32_t c) {
    error(in, c);
    doctypePending.forceQuirks = true;
    transition(S::BogusDoctype);
}

// After "PUBLIC" or "SYSTEM": a quote straight after the keyword is an error but still opens
// the identifier.
void Tokeniser::afterDoctypeKeyword(TokeniserState in, TokeniserState before, bool system) {
    const char32_t c = consumeChar();
    if (isWhitespace(c)) {
        transition(before);
    } else if (c == '"' || c == '\'') {
        error(in, c);
        transition(quotedIdentifierState(c, system));
    } else if (c == '>' || c == endOfInput) {
        doctypeEofOrGt(c);
    } else {
        toBogusDoctype(in, c);
    }
}

void Tokeniser::beforeDoctypeIdentifier(TokeniserState in, bool system) {
    const char32_t c = consumeChar();
    if (isWhitespace(c)) {
        return;
    } else if (c == '"' || c == '\'') {
        transition(quotedIdentifierState(c, system));
    } else if (c == '>' || c == endOfInput) {
        doctypeEofOrGt(c);
    } else {
        toBogusDoctype(in, c);
    }
}

// After DOCTYPE public keyword state
void Tokeniser::AfterDoctypePublicKeyword() {
    afterDoctypeKeyword(S::AfterDoctypePublicKeyword, S::BeforeDoctypePublicIdentifier, false);
}

// Before DOCTYPE public identifier state
void Tokeniser::BeforeDoctypePublicIdentifier() {
    beforeDoctypeIdentifier(S::BeforeDoctypePublicIdentifier, false);
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

// DOCTYPE public identifier (double-quoted) state
void Tokeniser::DoctypePublicIdentifier_doubleQuoted() {
    doctypeIdentifier(doctypePending.publicIdentifier, U'"', S::AfterDoctypePublicIdentifier);
}

// DOCTYPE public identifier (single-quoted) state
void Tokeniser::DoctypePublicIdentifier_singleQuoted() {
    doctypeIdentifier(doctypePending.publicIdentifier, U'\'', S::AfterDoctypePublicIdentifier);
}

// After DOCTYPE public identifier state
void Tokeniser::AfterDoctypePublicIdentifier() {
    const char32_t c = consumeChar();
    if (isWhitespace(c)) {
        transition(S::BetweenDoctypePublicAndSystemIdentifiers);
    } else if (c == '>') {
        emitDoctypeToData();
    } else if (c == '"' || c == '\'') {
        error(S::AfterDoctypePublicIdentifier, c);
        transition(quotedIdentifierState(c, true));
    } else if (c == endOfInput) {
        doctypeEofOrGt(c);
    } else {
        toBogusDoctype(S::AfterDoctypePublicIdentifier, c);
    }
}

// Between DOCTYPE public and system identifiers state
void Tokeniser::BetweenDoctypePublicAndSystemIdentifiers() {
    const char32_t c = consumeChar();
    if (isWhitespace(c)) {
        return;
    } else if (c == '>') {
        emitDoctypeToData();
    } else if (c == '"' || c == '\'') {
        transition(quotedIdentifierState(c, true));
    } else if (c == endOfInput) {
        doctypeEofOrGt(c);
    } else {
        toBogusDoctype(S::BetweenDoctypePublicAndSystemIdentifiers, c);
    }
}

// After DOCTYPE system keyword state
void Tokeniser::AfterDoctypeSystemKeyword() {
    afterDoctypeKeyword(S::AfterDoctypeSystemKeyword, S::BeforeDoctypeSystemIdentifier, true);
}

// Before DOCTYPE system identifier state
void Tokeniser::BeforeDoctypeSystemIdentifier() {
    beforeDoctypeIdentifier(S::BeforeDoctypeSystemIdentifier, true);
}

// DOCTYPE system identifier (double-quoted) state
void Tokeniser::DoctypeSystemIdentifier_doubleQuoted() {
    doctypeIdentifier(doctypePending.systemIdentifier, U'"', S::AfterDoctypeSystemIdentifier);
}

// DOCTYPE system identifier (single-quoted) state
void Tokeniser::DoctypeSystemIdentifier_singleQuoted() {
    doctypeIdentifier(doctypePending.systemIdentifier, U'\'', S::AfterDoctypeSystemIdentifier);
}

// After DOCTYPE system identifier state
void Tokeniser::AfterDoctypeSystemIdentifier() {
    const char32_t c = consumeChar();
    if (isWhitespace(c)) {
        return;
    } else if (c == '>') {
        emitDoctypeToData();
    } else if (c == endOfInput) {
        doctypeEofOrGt(c);
    } else {
        error(S::AfterDoctypeSystemIdentifier, c);
        transition(S::BogusDoctype); // not quirks: the identifiers were complete
    }
}

// Bogus DOCTYPE state
void Tokeniser::BogusDoctype() {
    reader.consumeTo(U'>');
    if (!reader.isEmpty()) reader.advance();
    emitDoctypeToData();
}

} // namespace html
