// The insertion modes before the body: initial, before html, before head, in head,
// in head noscript and after head.
#include "html/nodes/DocumentType.h"
#include "html/nodes/Element.h"
#include "html/parser/DoctypeQuirks.h"
#include "html/parser/HtmlTreeBuilder.h"
#include "html/parser/HtmlWhitespace.h"
#include "html/parser/Token.h"
#include "html/parser/Tokeniser.h"
#include "html/parser/TreeBuilderSets.h"

namespace html {

using State = HtmlTreeBuilderState;

// The "initial" insertion mode
bool HtmlTreeBuilder::initial(Tok& t) {
    switch (t.kind) {
    case Kind::Char:
        if (skipLeadingWhitespace(t)) return true; // whitespace is ignored here
        break;
    case Kind::Comment: insertComment(t); return true;
    case Kind::Doctype: {
        const Token::Doctype& d = t.token->asDoctype();
        Ref<DocumentType> doctype = makeIn<DocumentType>(
            arena.get(), settings.normalizeTag(d.getName()), d.getPubSysKey().value_or(""),
            d.getPublicIdentifier(), d.getSystemIdentifier(), sharedBaseUri);
        doc->appendChild(doctype);
        doc->quirksMode(
            quirksModeOf(doctype->name(), doctype->publicId(), doctype->systemId(), d.isForceQuirks()));
        transition(State::BeforeHtml);
        return true;
    }
    default: break;
    }
    // A document without a doctype is a legacy document.
    doc->quirksMode(Document::QuirksMode::quirks);
    transition(State::BeforeHtml);
    return process(t);
}

// The "before html" insertion mode
bool HtmlTreeBuilder::beforeHtml(Tok& t) {
    switch (t.kind) {
    case Kind::Doctype: error(State::BeforeHtml); return false;
    case Kind::Comment: insertComment(t); return true;
    case Kind::Char:
        if (skipLeadingWhitespace(t)) return true;
        break;
    case Kind::StartTag:
        if (t.id == TagId::Html) {
            insert(t);
            transition(State::BeforeHead);
            return true;
        }
        break;
    case Kind::EndTag:
        if (!sets::beforeHtmlToHead.contains(t.id)) {
            error(State::BeforeHtml);
            return false;
        }
        break;
    case Kind::EndOfFile: break;
    }
    insertStartTag("html");
    transition(State::BeforeHead);
    return process(t);
}

// The "before head" insertion mode
bool HtmlTreeBuilder::beforeHead(Tok& t) {
    switch (t.kind) {
    case Kind::Char:
        if (skipLeadingWhitespace(t)) return true;
        break;
    case Kind::Comment: insertComment(t); return true;
    case Kind::Doctype: error(State::BeforeHead); return false;
    case Kind::StartTag:
        if (t.id == TagId::Html) return inBody(t);
        if (t.id == TagId::Head) {
            headElement = insert(t);
            transition(State::InHead);
            return true;
        }
        break;
    case Kind::EndTag:
        if (!sets::beforeHtmlToHead.contains(t.id)) {
            error(State::BeforeHead);
            return false;
        }
        break;
    case Kind::EndOfFile: break;
    }
    processStartTag("head");
    return process(t);
}

// The "in head" insertion mode
bool HtmlTreeBuilder::inHead(Tok& t) {
    switch (t.kind) {
    case Kind::Char:
        if (insertLeadingWhitespace(t)) return true;
        break;
    case Kind::Comment: insertComment(t); return true;
    case Kind::Doctype: error(State::InHead); return false;
    case Kind::StartTag:
        switch (t.id) {
        case TagId::Html: return inBody(t);
        case TagId::Base:
        case TagId::Basefont:
        case TagId::Bgsound:
        case TagId::Command:
        case TagId::Link: {
            Element* el = insertEmpty(t);
            if (t.id == TagId::Base && el->hasAttr("href")) maybeSetBaseUri(el);
            return true;
        }
        case TagId::Meta: insertEmpty(t); return true;
        case TagId::Title: insertRawText(t, static_cast<int>(TokeniserState::Rcdata)); return true;
        case TagId::Noframes:
        case TagId::Style: insertRawText(t, static_cast<int>(TokeniserState::Rawtext)); return true;
        case TagId::Noscript:
            insert(t);
            transition(State::InHeadNoscript);
            return true;
        case TagId::Script: insertRawText(t, static_cast<int>(TokeniserState::ScriptData)); return true;
        case TagId::Head: error(State::InHead); return false;
        default: break;
        }
        break;
    case Kind::EndTag:
        if (t.id == TagId::Head) {
            pop();
            transition(State::AfterHead);
            return true;
        }
        if (!sets::inHeadEnd.contains(t.id)) {
            error(State::InHead);
            return false;
        }
        break;
    case Kind::EndOfFile: break;
    }
    processEndTag("head");
    return process(t);
}

// The "in head noscript" insertion mode
bool HtmlTreeBuilder::inHeadNoscript(Tok& t) {
    switch (t.kind) {
    case Kind::Doctype: error(State::InHeadNoscript); return true;
    case Kind::StartTag:
        if (t.id == TagId::Html) return inBody(t);
        if (sets::inHeadNoscriptHead.contains(t.id)) return inHead(t);
        if (sets::inHeadNoscriptIgnore.contains(t.id)) {
            error(State::InHeadNoscript);
            return false;
        }
        break;
    case Kind::EndTag:
        if (t.id == TagId::Noscript) {
            pop();
            transition(State::InHead);
            return true;
        }
        if (t.id != TagId::Br) {
            error(State::InHeadNoscript);
            return false;
        }
        break;
    case Kind::Char:
        if (insertLeadingWhitespace(t)) return true;
        break;
    case Kind::Comment: return inHead(t);
    case Kind::EndOfFile: break;
    }
    error(State::InHeadNoscript);
    processEndTag("noscript");
    return process(t);
}

// The "after head" insertion mode
bool HtmlTreeBuilder::afterHead(Tok& t) {
    switch (t.kind) {
    case Kind::Char:
        if (insertLeadingWhitespace(t)) return true;
        break;
    case Kind::Comment: insertComment(t); return true;
    case Kind::Doctype: error(State::AfterHead); return true;
    case Kind::StartTag:
        switch (t.id) {
        case TagId::Html: return inBody(t);
        case TagId::Body:
            insert(t);
            _framesetOk = false;
            transition(State::InBody);
            return true;
        case TagId::Frameset:
            insert(t);
            transition(State::InFrameset);
            return true;
        case TagId::Head: error(State::AfterHead); return false;
        default:
            if (sets::afterHeadReopen.contains(t.id)) {
                error(State::AfterHead);
                push(headElement, TagId::Head);
                inHead(t);
                removeFromStack(headElement);
                return true;
            }
            break;
        }
        break;
    case Kind::EndTag:
        if (!sets::afterHeadEnd.contains(t.id) && t.id != TagId::Br) {
            error(State::AfterHead);
            return false;
        }
        break;
    case Kind::EndOfFile: break;
    }
    processStartTag("body");
    _framesetOk = true;
    return process(t);
}

} // namespace html
