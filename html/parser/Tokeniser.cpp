#include "html/parser/Tokeniser.h"

#include "html/nodes/Exception.h"
#include "html/parser/Utf8.h"

namespace html {

Tokeniser::Tokeniser(CharacterReader& reader, ParseErrorList* errors) : reader(reader), errors(errors) {
    dataBuffer.reserve(1024);
    pendingChars.reserve(1024);
}

Token& Tokeniser::read() {
    if (charsHandedOut) {
        pendingChars.reset();
        charsHandedOut = false;
    }
    if (!selfClosingFlagAcknowledged) {
        error("Self closing flag not acknowledged");
        selfClosingFlagAcknowledged = true;
    }
    while (!isEmitPending)
        step();
    if (!pendingChars.empty()) {
        // Text goes out first; the other token stays pending for the next read.
        charPending.setData(pendingChars.str());
        charsHandedOut = true;
        return charPending;
    }
    isEmitPending = false;
    return *emitPending;
}

void Tokeniser::emit(Token& token) {
    if (isEmitPending)
        throw Exception(ExceptionType::IllegalArgumentException, "There is an unread token pending!");
    emitPending = &token;
    isEmitPending = true;
    if (token.isStartTag()) {
        auto& tag = token.asStartTag();
        lastStartTag.assign(tag.normalName());
        if (tag.isSelfClosing()) selfClosingFlagAcknowledged = false;
    } else if (token.isEndTag() && token.asEndTag().hasAttributes()) {
        error("Attributes incorrectly present on end tag");
    }
}

Token::Tag& Tokeniser::createTagPending(bool start) {
    tagPending = start ? static_cast<Token::Tag*>(&startPending) : static_cast<Token::Tag*>(&endPending);
    tagPending->reset();
    return *tagPending;
}

void Tokeniser::emitTagPending() {
    tagPending->newAttribute();
    emit(*tagPending);
}

void Tokeniser::createCommentPending(bool bogus) {
    commentPending.reset();
    commentPending.bogus = bogus;
}

void Tokeniser::emitCommentPending() {
    emit(commentPending);
}

void Tokeniser::createDoctypePending() {
    doctypePending.reset();
}

void Tokeniser::emitDoctypePending() {
    emit(doctypePending);
}

bool Tokeniser::isAppropriateEndTagToken() const {
    return !lastStartTag.empty() && tagPending && tagPending->normalName() == lastStartTag;
}

void Tokeniser::error(TokeniserState in, char32_t unexpected) {
    if (!tracking()) return;
    std::string msg = "Unexpected character '";
    if (unexpected != endOfInput) utf8::append(msg, unexpected);
    msg += "' in input state [";
    msg += tokeniserStateName(in);
    msg += "]";
    errors->add(reader.getPos(), std::move(msg));
}

void Tokeniser::eofError(TokeniserState in) {
    if (!tracking()) return;
    errors->add(reader.getPos(), "Unexpectedly reached end of file (EOF) in input state [" +
                                     std::string(tokeniserStateName(in)) + "]");
}

void Tokeniser::emitPreviousByte(TokeniserState next) {
    emit(previousByte());
    transition(next);
}

void Tokeniser::error(std::string_view message) {
    if (tracking()) errors->add(reader.getPos(), std::string(message));
}

std::optional<Entities::Codepoints>
Tokeniser::consumeCharacterReference(std::optional<char32_t> additionalAllowed, bool inAttribute) {
    return Entities::consumeCharacterReference(reader, errors, additionalAllowed, inAttribute);
}

std::string Tokeniser::unescapeEntities(bool inAttribute) {
    std::string out;
    Entities::unescapeRest(reader, errors, inAttribute, out);
    return out;
}

bool Tokeniser::closingTagAhead() {
    if (closerName != lastStartTag) {
        closerName = lastStartTag;
        closerKnown = false;
    }
    const std::size_t pos = reader.getPos();
    if (closerKnown && (!closerFound || closerAt >= pos)) return closerFound;
    // As CharacterReader::containsIgnoreCase: the all-lower or the all-upper form.
    std::string lower = "</" + lastStartTag;
    std::string upper = lower;
    for (auto& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    auto a = reader.nextIndexOf(std::string_view(lower));
    auto b = reader.nextIndexOf(std::string_view(upper));
    closerKnown = true;
    closerFound = a || b;
    closerAt = a && b ? std::min(*a, *b) : a ? *a : b ? *b : 0;
    return closerFound;
}

void Tokeniser::step() {
    switch (state) {
#define HTML_TOKENISER_STATE(name, title)                                                                    \
    case TokeniserState::name:                                                                               \
        name();                                                                                              \
        break;
#include "html/parser/TokeniserStates.def"
#undef HTML_TOKENISER_STATE
    }
}

} // namespace html
