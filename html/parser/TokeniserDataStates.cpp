// Tokeniser states: data and character references in text.
#include "html/parser/Tokeniser.h"
#include "html/parser/TokeniserStateVars.h"

namespace html {

using S = TokeniserState;

// Data state
void Tokeniser::Data() {
    if (reader.isEmpty()) {
        emit(eofPending);
        return;
    }
    switch (reader.input()[reader.getPos()]) {
    case '&': advanceTransition(S::CharacterReferenceInData); break;
    case '<': advanceTransition(S::TagOpen); break;
    case '\0':
        error(S::Data, 0);
        reader.advance();
        emit(previousByte()); // the tree builder decides what a NUL in text becomes
        break;
    default: emit(reader.consumeData()); break;
    }
}

namespace {
// Emits a decoded reference, or the "&" itself (a slice of the input, keeping the text run
// contiguous) when there was nothing to decode.
template <typename T>
void emitReference(T& t, const std::optional<Entities::Codepoints>& cps, std::string_view amp) {
    if (!cps || cps->count == 0) {
        t.emit(amp);
        return;
    }
    for (int i = 0; i < cps->count; ++i)
        t.emit((*cps)[i]);
}
} // namespace

void Tokeniser::characterReferenceInText(TokeniserState textState) {
    const std::string_view amp = previousByte();
    emitReference(*this, consumeCharacterReference(std::nullopt, false), amp);
    transition(textState);
}

// Character reference in data state
void Tokeniser::CharacterReferenceInData() {
    characterReferenceInText(S::Data);
}

// Character reference in RCDATA state
void Tokeniser::CharacterReferenceInRcdata() {
    characterReferenceInText(S::Rcdata);
}

} // namespace html
