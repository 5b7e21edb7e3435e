// Tokeniser states: markup declarations, comments (proper and bogus) and CDATA sections.
#include "html/parser/Tokeniser.h"
#include "html/parser/TokeniserStateVars.h"

namespace html {

using S = TokeniserState;
using Vars = TokeniserStateVars;

namespace {
// Appends text to a comment, with every NUL replaced.
void appendReplacingNul(Token::Comment& comment, std::string_view text) {
    std::size_t from = 0;
    while (true) {
        const std::size_t nul = text.find('\0', from);
        if (nul == std::string_view::npos) {
            comment.data.appendSlice(text.substr(from));
            return;
        }
        comment.data.appendSlice(text.substr(from, nul - from));
        comment.data.append(Vars::replacementUTF8);
        from = nul + 1;
    }
}
} // namespace

// A NUL inside a comment: whatever the state had held back, then U+FFFD.
void Tokeniser::commentNul(TokeniserState in, std::string_view before) {
    error(in, 0);
    commentPending.data.append(before);
    commentPending.data.append(Vars::replacementUTF8);
    transition(S::Comment);
}

// "<?...>", "</ ...>" and "<!...>" that is no comment, doctype or CDATA: everything up to the
// next ">" becomes a comment.
// Bogus comment state
void Tokeniser::BogusComment() {
    createCommentPending(true);
    appendReplacingNul(commentPending, reader.consumeTo(U'>'));
    emitCommentPending();
    advanceTransition(S::Data);
}

// Markup declaration open state
void Tokeniser::MarkupDeclarationOpen() {
    if (reader.matchConsume("--")) {
        createCommentPending();
        transition(S::CommentStart);
    } else if (reader.matchConsumeIgnoreCase("DOCTYPE")) {
        transition(S::Doctype);
    } else if (reader.matchConsume("[CDATA[")) {
        createTempBuffer();
        transition(S::CdataSection);
    } else {
        error(S::MarkupDeclarationOpen, reader.isEmpty() ? endOfInput : reader.currentRepaired());
        transition(S::BogusComment);
    }
}

// Comment start state
void Tokeniser::CommentStart() {
    const char32_t c = consumeChar();
    switch (c) {
    case '-': transition(S::CommentStartDash); break;
    case 0: commentNul(S::CommentStart, ""); break;
    case '>':
        error(S::CommentStart, c);
        emitCommentToData();
        break;
    case endOfInput: commentEof(S::CommentStart); break;
    default:
        unconsumeChar(c);
        transition(S::Comment);
        break;
    }
}

// Comment start dash state
void Tokeniser::CommentStartDash() {
    const char32_t c = consumeChar();
    switch (c) {
    case '-': transition(S::CommentEnd); break;
    case 0: commentNul(S::CommentStartDash, "-"); break;
    case '>':
        error(S::CommentStartDash, c);
        emitCommentToData();
        break;
    case endOfInput: commentEof(S::CommentStartDash); break;
    default:
        unconsumeChar(c);
        commentPending.data.appendSlice(previousByte()); // the "-"
        transition(S::Comment);
        break;
    }
}

// Comment state
void Tokeniser::Comment() {
    if (reader.isEmpty()) {
        commentEof(S::Comment);
        return;
    }
    switch (reader.input()[reader.getPos()]) {
    case '-': advanceTransition(S::CommentEndDash); break;
    case '\0':
        error(S::Comment, 0);
        reader.advance();
        commentPending.data.append(Vars::replacementUTF8);
        break;
    default: commentPending.data.appendSlice(reader.consumeToAny(Vars::commentStop())); break;
    }
}

// Comment end dash state
void Tokeniser::CommentEndDash() {
    const char32_t c = consumeChar();
    switch (c) {
    case '-': transition(S::CommentEnd); break;
    case 0: commentNul(S::CommentEndDash, "-"); break;
    case endOfInput: commentEof(S::CommentEndDash); break;
    default:
        unconsumeChar(c);
        commentPending.data.appendSlice(previousByte()); // the "-"
        transition(S::Comment);
        break;
    }
}

// Comment end state
void Tokeniser::CommentEnd() {
    const char32_t c = consumeChar();
    switch (c) {
    case '>': emitCommentToData(); break;
    case 0: commentNul(S::CommentEnd, "--"); break;
    case '!':
        error(S::CommentEnd, c);
        transition(S::CommentEndBang);
        break;
    case '-':
        error(S::CommentEnd, c);
        commentPending.data.appendSlice(reader.input().substr(reader.getPos() - 3, 1));
        break;
    case endOfInput: commentEof(S::CommentEnd); break;
    default:
        error(S::CommentEnd, c);
        unconsumeChar(c);
        commentPending.data.appendSlice(reader.input().substr(reader.getPos() - 2, 2)); // "--"
        transition(S::Comment);
        break;
    }
}

// Comment end bang state
void Tokeniser::CommentEndBang() {
    const char32_t c = consumeChar();
    switch (c) {
    case '-':
        commentPending.data.appendSlice(reader.input().substr(reader.getPos() - 4, 3)); // "--!"
        transition(S::CommentEndDash);
        break;
    case '>': emitCommentToData(); break;
    case 0: commentNul(S::CommentEndBang, "--!"); break;
    case endOfInput: commentEof(S::CommentEndBang); break;
    default:
        unconsumeChar(c);
        commentPending.data.appendSlice(reader.input().substr(reader.getPos() - 3, 3)); // "--!"
        transition(S::Comment);
        break;
    }
}

// CDATA section state
void Tokeniser::CdataSection() {
    emit(reader.consumeTo(std::string_view("]]>")));
    reader.matchConsume("]]>");
    transition(S::Data);
}

} // namespace html
