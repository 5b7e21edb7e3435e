// The insertion modes after the body and the frameset modes: after body, in frameset,
// after frameset, after after body and after after frameset.
#include "html/nodes/Comment.h"
#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/parser/HtmlTreeBuilder.h"
#include "html/parser/HtmlWhitespace.h"
#include "html/parser/Token.h"

#include <string>

namespace html {

using State = HtmlTreeBuilderState;

void HtmlTreeBuilder::insertWhitespaceOnly(std::string_view data) {
    if (isAllWhitespace(data)) {
        insertCharacters(data);
        return;
    }
    error(_state);
    std::string kept;
    for (char c : data)
        if (isHtmlWhitespace(c)) kept.push_back(c);
    insertCharacters(kept);
}

// The "after body" insertion mode
bool HtmlTreeBuilder::afterBody(Tok& t) {
    switch (t.kind) {
    case Kind::Char:
        if (isAllWhitespace(t.data)) return inBody(t);
        break;
    case Kind::Comment: {
        // After </body> a comment belongs to the html element.
        Ref<Comment> comment = makeIn<Comment>(arena.get(), t.data, sharedBaseUri);
        stack.front().element->appendChild(comment);
        return true;
    }
    case Kind::Doctype: error(State::AfterBody); return false;
    case Kind::StartTag:
        if (t.id == TagId::Html) return inBody(t);
        break;
    case Kind::EndTag:
        if (t.id == TagId::Html) {
            if (fragmentParsing) {
                error(State::AfterBody);
                return false;
            }
            transition(State::AfterAfterBody);
            return true;
        }
        break;
    case Kind::EndOfFile: return true;
    }
    error(State::AfterBody);
    transition(State::InBody);
    return process(t);
}

// The "in frameset" insertion mode
bool HtmlTreeBuilder::inFrameset(Tok& t) {
    switch (t.kind) {
    case Kind::Char: insertWhitespaceOnly(t.data); return true;
    case Kind::Comment: insertComment(t); return true;
    case Kind::Doctype: error(State::InFrameset); return false;
    case Kind::StartTag:
        switch (t.id) {
        case TagId::Html: return inBody(t);
        case TagId::Frameset: insert(t); return true;
        case TagId::Frame: insertEmpty(t); return true;
        case TagId::Noframes: return inHead(t);
        default: break;
        }
        break;
    case Kind::EndTag:
        if (t.id == TagId::Frameset) {
            if (currentIs(TagId::Html)) {
                error(State::InFrameset);
                return false;
            }
            pop();
            if (!fragmentParsing && !currentIs(TagId::Frameset)) transition(State::AfterFrameset);
            return true;
        }
        break;
    case Kind::EndOfFile:
        if (!currentIs(TagId::Html)) error(State::InFrameset);
        return true;
    }
    error(State::InFrameset);
    return false;
}

// The "after frameset" insertion mode
bool HtmlTreeBuilder::afterFrameset(Tok& t) {
    switch (t.kind) {
    case Kind::Char: insertWhitespaceOnly(t.data); return true;
    case Kind::Comment: insertComment(t); return true;
    case Kind::Doctype: error(State::AfterFrameset); return false;
    case Kind::StartTag:
        if (t.id == TagId::Html) return inBody(t);
        if (t.id == TagId::Noframes) return inHead(t);
        break;
    case Kind::EndTag:
        if (t.id == TagId::Html) {
            transition(State::AfterAfterFrameset);
            return true;
        }
        break;
    case Kind::EndOfFile: return true;
    }
    error(State::AfterFrameset);
    return false;
}

// The "after after body" insertion mode
bool HtmlTreeBuilder::afterAfterBody(Tok& t) {
    switch (t.kind) {
    case Kind::Comment: {
        Ref<Comment> comment = makeIn<Comment>(arena.get(), t.data, sharedBaseUri);
        doc->appendChild(comment);
        return true;
    }
    case Kind::Doctype: return inBody(t);
    case Kind::Char:
        if (isAllWhitespace(t.data)) return inBody(t);
        break;
    case Kind::StartTag:
        if (t.id == TagId::Html) return inBody(t);
        break;
    case Kind::EndOfFile: return true;
    default: break;
    }
    error(State::AfterAfterBody);
    transition(State::InBody);
    return process(t);
}

// The "after after frameset" insertion mode
bool HtmlTreeBuilder::afterAfterFrameset(Tok& t) {
    switch (t.kind) {
    case Kind::Comment: {
        Ref<Comment> comment = makeIn<Comment>(arena.get(), t.data, sharedBaseUri);
        doc->appendChild(comment);
        return true;
    }
    case Kind::Doctype: return inBody(t);
    case Kind::Char: {
        // Only the whitespace is kept, with the body's rules.
        if (isAllWhitespace(t.data)) return inBody(t);
        error(State::AfterAfterFrameset);
        std::string kept;
        for (char c : t.data)
            if (isHtmlWhitespace(c)) kept.push_back(c);
        if (kept.empty()) return false;
        Tok ws = t;
        ws.data = kept;
        return inBody(ws);
    }
    case Kind::StartTag:
        if (t.id == TagId::Html) return inBody(t);
        if (t.id == TagId::Noframes) return inHead(t);
        break;
    case Kind::EndOfFile: return true;
    default: break;
    }
    error(State::AfterAfterFrameset);
    return false;
}

} // namespace html
