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

// "<?...>", "</ ...>" and "<!...>" that is no comment, doctype or CDATA: everything up to the
// next ">" becomes a comment.
void Tokeniser::BogusComment() {
    createCommentPending(true);
    appendReplacingNul(commentPending, reader.consumeTo(U'>'));
    emitCommentPending();
    advanceTransition(S::Data);
}

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

void Tokeniser::CommentStart() {
    const char32_t c = consumeChar();
    switch (c) {
    case '-': transition(S::CommentStartDash); break;
    case 0:
        error(S::CommentStart, c);
        commentPending.data.append(Vars::replacementUTF8);
        transition(S::Comment);
        break;
    case '>':
        error(S::CommentStart, c);
        emitCommentPending();
        transition(S::Data);
        break;
    case endOfInput:
        eofError(S::CommentStart);
        emitCommentPending();
        transition(S::Data);
        break;
    default:
        unconsumeChar(c);
        transition(S::Comment);
        break;
    }
}

void Tokeniser::CommentStartDash() {
    const char32_t c = consumeChar();
    switch (c) {
    case '-': transition(S::CommentEnd); break;
    case 0:
        error(S::CommentStartDash, c);
        commentPending.data.append(std::string_view("-"));
        commentPending.data.append(Vars::replacementUTF8);
        transition(S::Comment);
        break;
    case '>':
        error(S::CommentStartDash, c);
        emitCommentPending();
        transition(S::Data);
        break;
    case endOfInput:
        eofError(S::CommentStartDash);
        emitCommentPending();
        transition(S::Data);
        break;
    default:
        unconsumeChar(c);
        commentPending.data.appendSlice(previousByte()); // the "-"
        transition(S::Comment);
        break;
    }
}

void Tokeniser::Comment() {
    if (reader.isEmpty()) {
        eofError(S::Comment);
        emitCommentPending();
        transition(S::Data);
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

void Tokeniser::CommentEndDash() {
    const char32_t c = consumeChar();
    switch (c) {
    case '-': transition(S::CommentEnd); break;
    case 0:
        error(S::CommentEndDash, c);
        commentPending.data.append(std::string_view("-"));
        commentPending.data.append(Vars::replacementUTF8);
        transition(S::Comment);
        break;
    case endOfInput:
        eofError(S::CommentEndDash);
        emitCommentPending();
        transition(S::Data);
        break;
    default:
        unconsumeChar(c);
        commentPending.data.appendSlice(previousByte()); // the "-"
        transition(S::Comment);
        break;
    }
}

void Tokeniser::CommentEnd() {
    const char32_t c = consumeChar();
    switch (c) {
    case '>':
        emitCommentPending();
        transition(S::Data);
        break;
    case 0:
        error(S::CommentEnd, c);
        commentPending.data.append(std::string_view("--"));
        commentPending.data.append(Vars::replacementUTF8);
        transition(S::Comment);
        break;
    case '!':
        error(S::CommentEnd, c);
        transition(S::CommentEndBang);
        break;
    case '-':
        error(S::CommentEnd, c);
        commentPending.data.appendSlice(reader.input().substr(reader.getPos() - 3, 1));
        break;
    case endOfInput:
        eofError(S::CommentEnd);
        emitCommentPending();
        transition(S::Data);
        break;
    default:
        error(S::CommentEnd, c);
        unconsumeChar(c);
        commentPending.data.appendSlice(reader.input().substr(reader.getPos() - 2, 2)); // "--"
        transition(S::Comment);
        break;
    }
}

void Tokeniser::CommentEndBang() {
    const char32_t c = consumeChar();
    switch (c) {
    case '-':
        commentPending.data.appendSlice(reader.input().substr(reader.getPos() - 4, 3)); // "--!"
        transition(S::CommentEndDash);
        break;
    case '>':
        emitCommentPending();
        transition(S::Data);
        break;
    case 0:
        error(S::CommentEndBang, c);
        commentPending.data.append(std::string_view("--!"));
        commentPending.data.append(Vars::replacementUTF8);
        transition(S::Comment);
        break;
    case endOfInput:
        eofError(S::CommentEndBang);
        emitCommentPending();
        transition(S::Data);
        break;
    default:
        unconsumeChar(c);
        commentPending.data.appendSlice(reader.input().substr(reader.getPos() - 3, 3)); // "--!"
        transition(S::Comment);
        break;
    }
}

void Tokeniser::CdataSection() {
    emit(reader.consumeTo(std::string_view("]]>")));
    reader.matchConsume("]]>");
    transition(S::Data);
}

} // namespace html
