// The "in body" insertion mode, with the adoption agency, and the "text" mode.
#include "html/nodes/Attributes.h"
#include "html/nodes/Element.h"
#include "html/nodes/FormElement.h"
#include "html/nodes/TextNode.h"
#include "html/parser/HtmlTreeBuilder.h"
#include "html/parser/HtmlWhitespace.h"
#include "html/parser/Token.h"
#include "html/parser/Tokeniser.h"
#include "html/parser/TreeBuilderSets.h"

namespace html {

using State = HtmlTreeBuilderState;

namespace {

constexpr int kAdoptionOuterLoops = 8;
constexpr int kAdoptionInnerLoops = 3;

constexpr std::string_view kIsindexPrompt = "This is a searchable index. Enter search keywords: ";

} // namespace

// The "in body" insertion mode
bool HtmlTreeBuilder::inBody(Tok& t) {
    switch (t.kind) {
    case Kind::Char: {
        std::string_view data = t.data;
        std::string stripped;
        if (data.find('\0') != std::string_view::npos) {
            error(State::InBody);
            stripped.reserve(data.size());
            for (char c : data)
                if (c != '\0') stripped.push_back(c);
            data = stripped;
            if (data.empty()) return false;
        }
        reconstructFormattingElements();
        insertCharacters(data);
        if (!isAllWhitespace(data)) _framesetOk = false;
        return true;
    }
    case Kind::Comment: insertComment(t); return true;
    case Kind::Doctype: error(State::InBody); return false;
    case Kind::StartTag: return inBodyStartTag(t);
    case Kind::EndTag: return inBodyEndTag(t);
    case Kind::EndOfFile:
        // Open elements at the end are a parse error only outside this list.
        for (const OpenElement& e : stack) {
            switch (e.id) {
            case TagId::Dd:
            case TagId::Dt:
            case TagId::Li:
            case TagId::P:
            case TagId::Tbody:
            case TagId::Td:
            case TagId::Tfoot:
            case TagId::Th:
            case TagId::Thead:
            case TagId::Tr:
            case TagId::Body:
            case TagId::Html: continue;
            default: error(State::InBody); return true;
            }
        }
        return true;
    }
    return true;
}

namespace {

// Adds the token's attributes that the element does not have yet (a second <html> or <body>).
void mergeAttributes(Element* el, const Attributes& from) {
    for (const Attribute& a : from)
        if (!el->hasAttr(a.getKey())) el->attr(a.getKey(), a.getValue());
}

} // namespace

bool HtmlTreeBuilder::inBodyStartTag(Tok& t) {
    using namespace sets;
    const TagId id = t.id;
    // First the branches the standard gives one tag (or a few) each, then those it gives a list
    // of tags, then any other start tag.
    switch (id) {
    case TagId::Html: return inBodyStartHtml(t);
    case TagId::Body: return inBodyStartBody(t);
    case TagId::Frameset: return inBodyStartFrameset(t);
    case TagId::H1:
    case TagId::H2:
    case TagId::H3:
    case TagId::H4:
    case TagId::H5:
    case TagId::H6: return inBodyStartHeading(t);
    case TagId::Pre:
    case TagId::Listing: return inBodyStartPreListing(t);
    case TagId::Form: return inBodyStartForm(t);
    case TagId::Li:
    case TagId::Dd:
    case TagId::Dt: return inBodyStartListItem(t);
    case TagId::Plaintext: return inBodyStartPlaintext(t);
    case TagId::Button: return inBodyStartButton(t);
    case TagId::A: return inBodyStartA(t);
    case TagId::Nobr: return inBodyStartNobr(t);
    case TagId::Table: return inBodyStartTable(t);
    case TagId::Input: return inBodyStartInput(t);
    case TagId::Hr: return inBodyStartHr(t);
    case TagId::Image: return inBodyStartImage(t);
    case TagId::Isindex: return inBodyStartIsindex(t);
    case TagId::Textarea: return inBodyStartTextarea(t);
    case TagId::Xmp: return inBodyStartXmp(t);
    case TagId::Iframe: return inBodyStartIframe(t);
    case TagId::Noembed: return inBodyStartNoembed(t);
    case TagId::Select: return inBodyStartSelect(t);
    case TagId::Optgroup:
    case TagId::Option: return inBodyStartOption(t);
    case TagId::Rp:
    case TagId::Rt: return inBodyStartRuby(t);
    default: break;
    }
    if (inBodyStartToHead.contains(id)) return inHead(t);
    if (inBodyStartPClosers.contains(id)) return inBodyStartPCloser(t);
    if (formatters.contains(id)) return inBodyStartFormatter(t);
    if (inBodyStartApplets.contains(id)) return inBodyStartApplet(t);
    if (inBodyStartEmptyFormatters.contains(id)) return inBodyStartEmptyElement(t);
    if (inBodyStartMedia.contains(id)) return inBodyStartParamSourceTrack(t);
    if (inBodyStartDrop.contains(id)) return inBodyStartIgnored(t);
    return inBodyStartOther(t);
}

// A start tag whose tag name is "html"
bool HtmlTreeBuilder::inBodyStartHtml(Tok& t) {
    error(State::InBody);
    if (!stack.empty()) mergeAttributes(stack.front().element, tokenAttributes(t));
    return true;
}

// A start tag whose tag name is "body"
bool HtmlTreeBuilder::inBodyStartBody(Tok& t) {
    error(State::InBody);
    if (stack.size() == 1 || stack[1].id != TagId::Body) return false; // fragment case
    _framesetOk = false;
    mergeAttributes(stack[1].element, tokenAttributes(t));
    return true;
}

// A start tag whose tag name is "frameset"
bool HtmlTreeBuilder::inBodyStartFrameset(Tok& t) {
    error(State::InBody);
    if (stack.size() == 1 || stack[1].id != TagId::Body) return false;
    if (!_framesetOk) return false;
    // The list of active formatting elements may still point into the old body: keep it
    // alive until the parse ends.
    removedBody = stack[1].element;
    removedBody->remove();
    while (stack.size() > 1)
        popEntry();
    insert(t);
    transition(State::InFrameset);
    return true;
}

// A start tag whose tag name is one of: "h1", "h2", "h3", "h4", "h5", "h6"
bool HtmlTreeBuilder::inBodyStartHeading(Tok& t) {
    using namespace sets;
    closePElementIfInButtonScope();
    if (headings.contains(currentId())) {
        error(State::InBody);
        pop();
    }
    insert(t);
    return true;
}

// A start tag whose tag name is one of: "pre", "listing"
bool HtmlTreeBuilder::inBodyStartPreListing(Tok& t) {
    closePElementIfInButtonScope();
    insert(t);
    skipNextNewline = true;
    _framesetOk = false;
    return true;
}

// A start tag whose tag name is "form"
bool HtmlTreeBuilder::inBodyStartForm(Tok& t) {
    if (formElement) {
        error(State::InBody);
        return false;
    }
    closePElementIfInButtonScope();
    insertForm(t, true);
    return true;
}

// A start tag whose tag name is "li", or one of: "dd", "dt"
bool HtmlTreeBuilder::inBodyStartListItem(Tok& t) {
    using namespace sets;
    const TagId id = t.id;
    _framesetOk = false;
    for (std::size_t i = stack.size(); i-- > 0;) {
        const TagId node = stack[i].id;
        const bool match = id == TagId::Li ? node == TagId::Li : ddDt.contains(node);
        if (match) {
            processEndTag(tagIdName(node));
            break;
        }
        if (special.contains(node) && !inBodyStartLiBreakers.contains(node)) break;
    }
    closePElementIfInButtonScope();
    insert(t);
    return true;
}

// A start tag whose tag name is "plaintext"
bool HtmlTreeBuilder::inBodyStartPlaintext(Tok& t) {
    closePElementIfInButtonScope();
    insert(t);
    tokeniser->transition(TokeniserState::PLAINTEXT);
    return true;
}

// A start tag whose tag name is "button"
bool HtmlTreeBuilder::inBodyStartButton(Tok& t) {
    if (inScope(TagId::Button)) {
        error(State::InBody);
        processEndTag("button");
        return process(t);
    }
    reconstructFormattingElements();
    insert(t);
    _framesetOk = false;
    return true;
}

// A start tag whose tag name is "a"
bool HtmlTreeBuilder::inBodyStartA(Tok& t) {
    const TagId id = t.id;
    if (Element* a = getActiveFormattingElement(TagId::A)) {
        error(State::InBody);
        processEndTag("a");
        // The adoption agency may have left it behind.
        removeFromActiveFormattingElements(a);
        removeFromStack(a);
    }
    reconstructFormattingElements();
    Element* el = insert(t);
    pushActiveFormattingElements(el, id);
    return true;
}

// A start tag whose tag name is "nobr"
bool HtmlTreeBuilder::inBodyStartNobr(Tok& t) {
    const TagId id = t.id;
    reconstructFormattingElements();
    if (inScope(TagId::Nobr)) {
        error(State::InBody);
        processEndTag("nobr");
        reconstructFormattingElements();
    }
    pushActiveFormattingElements(insert(t), id);
    return true;
}

// A start tag whose tag name is "table"
bool HtmlTreeBuilder::inBodyStartTable(Tok& t) {
    if (doc->quirksMode() != Document::QuirksMode::quirks) closePElementIfInButtonScope();
    insert(t);
    _framesetOk = false;
    transition(State::InTable);
    return true;
}

// A start tag whose tag name is "input"
bool HtmlTreeBuilder::inBodyStartInput(Tok& t) {
    reconstructFormattingElements();
    Element* el = insertEmpty(t);
    if (!StringUtil::equalsIgnoreCase(el->attr("type"), "hidden")) _framesetOk = false;
    return true;
}

// A start tag whose tag name is "hr"
bool HtmlTreeBuilder::inBodyStartHr(Tok& t) {
    closePElementIfInButtonScope();
    insertEmpty(t);
    _framesetOk = false;
    return true;
}

// A start tag whose tag name is "image"
bool HtmlTreeBuilder::inBodyStartImage(Tok& t) {
    error(State::InBody);
    // Old markup: <image> means <img>.
    Tok img = t;
    img.name = "img";
    img.normalName = "img";
    img.id = TagId::Img;
    return process(img);
}

// A start tag whose tag name is "isindex"
bool HtmlTreeBuilder::inBodyStartIsindex(Tok& t) {
    error(State::InBody);
    if (formElement) return false;
    tokeniser->acknowledgeSelfClosingFlag();
    const Attributes source = tokenAttributes(t);
    processStartTag("form");
    if (source.hasKey("action") && formElement) formElement->attr("action", source.get("action"));
    processStartTag("hr");
    processStartTag("label");
    const std::string_view prompt = source.hasKey("prompt") ? source.get("prompt") : kIsindexPrompt;
    Tok chars;
    chars.kind = Kind::Char;
    chars.data = prompt;
    process(chars);
    Attributes inputAttrs;
    for (const Attribute& a : source) {
        const std::string_view key = a.getKey();
        if (key != "name" && key != "action" && key != "prompt") inputAttrs.put(key, a.getValue());
    }
    inputAttrs.put("name", "isindex");
    processStartTag("input", &inputAttrs);
    processEndTag("label");
    processStartTag("hr");
    processEndTag("form");
    return true;
}

// A start tag whose tag name is "textarea"
bool HtmlTreeBuilder::inBodyStartTextarea(Tok& t) {
    skipNextNewline = true;
    _framesetOk = false;
    insertRawText(t, static_cast<int>(TokeniserState::Rcdata));
    return true;
}

// A start tag whose tag name is "xmp"
bool HtmlTreeBuilder::inBodyStartXmp(Tok& t) {
    closePElementIfInButtonScope();
    reconstructFormattingElements();
    _framesetOk = false;
    insertRawText(t, static_cast<int>(TokeniserState::Rawtext));
    return true;
}

// A start tag whose tag name is "iframe"
bool HtmlTreeBuilder::inBodyStartIframe(Tok& t) {
    _framesetOk = false;
    insertRawText(t, static_cast<int>(TokeniserState::Rawtext));
    return true;
}

// A start tag whose tag name is "noembed"
bool HtmlTreeBuilder::inBodyStartNoembed(Tok& t) {
    insertRawText(t, static_cast<int>(TokeniserState::Rawtext));
    return true;
}

// A start tag whose tag name is "select"
bool HtmlTreeBuilder::inBodyStartSelect(Tok& t) {
    reconstructFormattingElements();
    insert(t);
    _framesetOk = false;
    const State s = _state;
    if (s == State::InTable || s == State::InCaption || s == State::InTableBody || s == State::InRow ||
        s == State::InCell)
        transition(State::InSelectInTable);
    else
        transition(State::InSelect);
    return true;
}

// A start tag whose tag name is one of: "optgroup", "option"
bool HtmlTreeBuilder::inBodyStartOption(Tok& t) {
    if (currentIs(TagId::Option)) processEndTag("option");
    reconstructFormattingElements();
    insert(t);
    return true;
}

// A start tag whose tag name is one of: "rp", "rt"
bool HtmlTreeBuilder::inBodyStartRuby(Tok& t) {
    if (inScope(TagId::Ruby)) {
        generateImpliedEndTags();
        if (!currentIs(TagId::Ruby)) error(State::InBody);
    }
    insert(t);
    return true;
}

// A start tag whose tag name is one of: "address", "article", "aside", "blockquote", "center",
// "details", "dir", "div", "dl", "fieldset", "figcaption", "figure", "footer", "header", "hgroup",
// "menu", "nav", "ol", "p", "section", "summary", "ul"
bool HtmlTreeBuilder::inBodyStartPCloser(Tok& t) {
    closePElementIfInButtonScope();
    insert(t);
    return true;
}

// A start tag whose tag name is one of: "b", "big", "code", "em", "font", "i", "s", "small", "strike",
// "strong", "tt", "u"
bool HtmlTreeBuilder::inBodyStartFormatter(Tok& t) {
    reconstructFormattingElements();
    pushActiveFormattingElements(insert(t), t.id);
    return true;
}

// A start tag whose tag name is one of: "applet", "marquee", "object"
bool HtmlTreeBuilder::inBodyStartApplet(Tok& t) {
    reconstructFormattingElements();
    insert(t);
    insertMarkerToFormattingElements();
    _framesetOk = false;
    return true;
}

// A start tag whose tag name is one of: "area", "br", "embed", "img", "keygen", "wbr"
bool HtmlTreeBuilder::inBodyStartEmptyElement(Tok& t) {
    reconstructFormattingElements();
    insertEmpty(t);
    _framesetOk = false;
    return true;
}

// A start tag whose tag name is one of: "param", "source", "track"
bool HtmlTreeBuilder::inBodyStartParamSourceTrack(Tok& t) {
    insertEmpty(t);
    return true;
}

// A start tag whose tag name is one of: "caption", "col", "colgroup", "frame", "head", "tbody", "td",
// "tfoot", "th", "thead", "tr"
bool HtmlTreeBuilder::inBodyStartIgnored(Tok&) {
    error(State::InBody);
    return false;
}

// Any other start tag
bool HtmlTreeBuilder::inBodyStartOther(Tok& t) {
    reconstructFormattingElements();
    insert(t);
    return true;
}

bool HtmlTreeBuilder::inBodyEndTag(Tok& t) {
    using namespace sets;
    const TagId id = t.id;
    // The branches the standard gives one tag (or a few) each, then those it gives a list of
    // tags, then any other end tag.
    switch (id) {
    case TagId::Body: return inBodyEndBody(t);
    case TagId::Html: return inBodyEndHtml(t);
    case TagId::Form: return inBodyEndForm(t);
    case TagId::P: return inBodyEndP(t);
    case TagId::Li: return closeElementInScope(inListItemScope(TagId::Li), TagId::Li, TagId::Li);
    case TagId::Dd:
    case TagId::Dt: return closeElementInScope(inScope(id), id, id);
    case TagId::H1:
    case TagId::H2:
    case TagId::H3:
    case TagId::H4:
    case TagId::H5:
    case TagId::H6: return inBodyEndHeading(t);
    case TagId::Br: return inBodyEndBr(t);
    default: break;
    }
    // An end tag whose tag name is one of the formatting elements: the adoption agency.
    if (inBodyEndAdoptionFormatters.contains(id)) return adoptionAgency(t);
    // An end tag whose tag name is one of: "address", "article", "aside", "blockquote", "button",
    // "center", "details", "dir", "div", "dl", "fieldset", "figcaption", "figure", "footer",
    // "header", "hgroup", "listing", "menu", "nav", "ol", "pre", "section", "summary", "ul"
    if (inBodyEndClosers.contains(id)) return closeElementInScope(inScope(id), id);
    if (inBodyStartApplets.contains(id)) return inBodyEndApplet(t);
    return inBodyAnyOtherEndTag(t);
}

// An end tag whose tag name is "body"
bool HtmlTreeBuilder::inBodyEndBody(Tok&) {
    if (!inScope(TagId::Body)) {
        error(State::InBody);
        return false;
    }
    transition(State::AfterBody);
    return true;
}

// An end tag whose tag name is "html"
bool HtmlTreeBuilder::inBodyEndHtml(Tok& t) {
    if (processEndTag("body")) return process(t);
    return false;
}

// An end tag whose tag name is "form"
bool HtmlTreeBuilder::inBodyEndForm(Tok&) {
    Element* node = formElement;
    formElement = nullptr;
    if (!node || !onStack(node) || !inScope(TagId::Form)) {
        error(State::InBody);
        return false;
    }
    generateImpliedEndTags();
    if (currentElement() != node) error(State::InBody);
    removeFromStack(node);
    return true;
}

// An end tag whose tag name is "p"
bool HtmlTreeBuilder::inBodyEndP(Tok& t) {
    if (!inButtonScope(TagId::P)) {
        error(State::InBody);
        processStartTag("p");
        return process(t);
    }
    return closeElementInScope(true, TagId::P, TagId::P);
}

// An end tag whose tag name is one of: "h1", "h2", "h3", "h4", "h5", "h6"
bool HtmlTreeBuilder::inBodyEndHeading(Tok& t) {
    if (!inScope(sets::headings)) {
        error(State::InBody);
        return false;
    }
    generateImpliedEndTags();
    if (!currentIs(t.id)) error(State::InBody);
    popStackToClose(sets::headings);
    return true;
}

// An end tag whose tag name is "br"
bool HtmlTreeBuilder::inBodyEndBr(Tok&) {
    error(State::InBody);
    processStartTag("br");
    return false;
}

// An end tag token whose tag name is one of: "applet", "marquee", "object"
bool HtmlTreeBuilder::inBodyEndApplet(Tok& t) {
    if (!closeElementInScope(inScope(t.id), t.id)) return false;
    clearFormattingElementsToLastMarker();
    return true;
}

bool HtmlTreeBuilder::inBodyAnyOtherEndTag(Tok& t) {
    for (std::size_t i = stack.size(); i-- > 0;) {
        const OpenElement& node = stack[i];
        const bool match = t.id != TagId::Other
                               ? node.id == t.id
                               : (node.id == TagId::Other && node.element->tagNameNormal() == t.normalName);
        if (match) {
            const Element* el = node.element;
            generateImpliedEndTags(t.id);
            if (stack.back().element != el) error(State::InBody);
            popStackToClose(el);
            return true;
        }
        if (sets::special.contains(node.id)) {
            error(State::InBody);
            return false;
        }
    }
    return true;
}

// The shape many end tags share: with the element in scope (`inScopeNow`, the caller's kind of
// scope), generate implied end tags except for `keep`, a parse error unless the current node is
// the element, and pop up to it; out of scope, a parse error and the token is ignored.
bool HtmlTreeBuilder::closeElementInScope(bool inScopeNow, TagId id, TagId keep) {
    if (!inScopeNow) {
        error(State::InBody);
        return false;
    }
    generateImpliedEndTags(keep);
    if (!currentIs(id)) error(State::InBody);
    popStackToClose(id, {});
    return true;
}

// The adoption agency algorithm, run for the end tag of a formatting element; the comments
// carry the standard's step numbers.
bool HtmlTreeBuilder::adoptionAgency(Tok& t) {
    // 1. The subject is the token's tag name.
    const TagId subject = t.id;
    // 2. The current node is the subject but no formatting element: pop it, and that is all.
    if (currentIs(subject) && !isInActiveFormattingElements(currentElement())) {
        pop();
        return true;
    }
    // 3.-4. The outer loop, at most eight times.
    for (int outer = 0; outer < kAdoptionOuterLoops; ++outer) {
        // 4.3. The last formatting element named subject after the last marker; without one,
        // the end tag is any other end tag.
        Element* formatting = getActiveFormattingElement(subject);
        if (!formatting) return inBodyAnyOtherEndTag(t);
        // 4.4. Not on the stack: a parse error, and it leaves the list.
        const std::size_t fePos = stackIndexOf(formatting);
        if (fePos == stack.size()) {
            error(State::InBody);
            removeFromActiveFormattingElements(formatting);
            return true;
        }
        // 4.5. On the stack but not in scope: a parse error, and nothing changes.
        if (!inScope(subject)) {
            error(State::InBody);
            return false;
        }
        // 4.6. Not the current node: a parse error, but the algorithm goes on.
        if (currentElement() != formatting) error(State::InBody);

        // 4.7. The furthest block: the topmost special element below the formatting element.
        std::size_t fbPos = stack.size();
        for (std::size_t i = fePos + 1; i < stack.size(); ++i) {
            if (sets::special.contains(stack[i].id)) {
                fbPos = i;
                break;
            }
        }
        // 4.8. None: pop up to the formatting element, which also leaves the list.
        if (fbPos == stack.size()) {
            while (stack.size() > fePos)
                popEntry();
            removeFromActiveFormattingElements(formatting);
            return true;
        }
        Element* furthestBlock = stack[fbPos].element;
        // 4.9. The common ancestor is just above the formatting element.
        Element* commonAncestor = stack[fePos - 1].element;
        const TagId commonAncestorId = stack[fePos - 1].id;
        // 4.10. A bookmark at the formatting element's place in the list.
        std::size_t bookmark = formattingIndexOf(formatting);

        // 4.11.-4.13. The inner loop, from the furthest block up to the formatting element.
        AdoptedChain chain = adoptionInnerLoop(formatting, fbPos, bookmark);

        // 4.14. Last node goes where a node would be inserted, with the common ancestor as the
        // override target.
        if (fosterInserts && sets::tableFamily.contains(commonAncestorId)) {
            insertInFosterParent(chain.lastNode);
        } else {
            commonAncestor->appendChild(chain.lastNode);
        }

        // 4.15.-4.17. A new element for the formatting element's token takes the furthest
        // block's children and becomes its only child.
        Ref<Element> adopter = cloneFormattingElement(formatting);
        while (furthestBlock->childNodeSize() > 0)
            adopter->appendChild(furthestBlock->childNode(0));
        furthestBlock->appendChild(adopter);

        // 4.18. It takes the formatting element's place in the list, at the bookmark.
        if (const std::size_t i = formattingIndexOf(formatting); i < formattingElements.size()) {
            formattingElements.erase(formattingElements.begin() + static_cast<std::ptrdiff_t>(i));
            if (i < bookmark) --bookmark;
        }
        if (bookmark > formattingElements.size()) bookmark = formattingElements.size();
        formattingElements.insert(formattingElements.begin() + static_cast<std::ptrdiff_t>(bookmark),
                                  {adopter.get(), subject});

        // 4.19. And its place on the stack, just below the furthest block.
        removeFromStack(formatting);
        if (const std::size_t i = stackIndexOf(furthestBlock); i < stack.size())
            insertEntry(i + 1, {adopter.get(), subject});
    }
    return true;
}

HtmlTreeBuilder::AdoptedChain HtmlTreeBuilder::adoptionInnerLoop(Element* formatting, std::size_t fbPos,
                                                                 std::size_t& bookmark) {
    // 4.11. Node and last node start at the furthest block.
    Element* const furthestBlock = stack[fbPos].element;
    AdoptedChain chain{furthestBlock, {}};
    std::size_t nodePos = fbPos;
    // 4.12.-4.13.1. The inner loop counter.
    for (int inner = 1;; ++inner) {
        // 4.13.2. Node moves up the stack (an entry removed below keeps its place counted).
        --nodePos;
        OpenElement& entry = stack[nodePos];
        Element* node = entry.element;
        // 4.13.3. Up to the formatting element: done.
        if (node == formatting) break;
        std::size_t listPos = formattingIndexOf(node);
        // 4.13.4. After three rounds, a formatting element on the way leaves the list.
        if (inner > kAdoptionInnerLoops && listPos != formattingElements.size()) {
            formattingElements.erase(formattingElements.begin() + static_cast<std::ptrdiff_t>(listPos));
            if (listPos < bookmark) --bookmark;
            listPos = formattingElements.size();
        }
        // 4.13.5. Not a formatting element: it leaves the stack.
        if (listPos == formattingElements.size()) {
            eraseEntry(nodePos);
            continue;
        }
        // 4.13.6. A new element for node's token replaces it in the list and on the stack; held
        // until it is in the tree, since nothing else owns it yet.
        Ref<Element> replacement = cloneFormattingElement(node);
        formattingElements[listPos].element = replacement.get();
        entry.element = replacement.get();
        // 4.13.7. The bookmark moves just after it when last node is the furthest block.
        if (chain.lastNode == furthestBlock) bookmark = listPos + 1;
        // 4.13.8.-4.13.9. Last node goes into it, and it becomes last node.
        replacement->appendChild(chain.lastNode);
        chain.lastNode = replacement.get();
        chain.hold = std::move(replacement);
    }
    return chain;
}

// The "text" insertion mode
bool HtmlTreeBuilder::text(Tok& t) {
    switch (t.kind) {
    case Kind::Char: insertCharacters(t.data); return true;
    case Kind::EndOfFile:
        error(State::Text);
        pop();
        transition(originalState());
        return process(t);
    case Kind::EndTag:
        pop();
        transition(originalState());
        return true;
    default: return true;
    }
}

} // namespace html
