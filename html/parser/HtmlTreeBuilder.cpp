#include "html/parser/HtmlTreeBuilder.h"
#include "html/parser/HtmlWhitespace.h"

#include "html/nodes/Comment.h"
#include "html/nodes/DataNode.h"
#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/Exception.h"
#include "html/nodes/FormElement.h"
#include "html/nodes/TextNode.h"
#include "html/nodes/Validate.h"
#include "html/parser/CharacterReader.h"
#include "html/parser/ParseErrorList.h"
#include "html/parser/Tag.h"
#include "html/parser/Token.h"
#include "html/parser/Tokeniser.h"
#include "html/parser/TreeBuilderSets.h"

namespace html {

using State = HtmlTreeBuilderState;

HtmlTreeBuilder::HtmlTreeBuilder() = default;
HtmlTreeBuilder::~HtmlTreeBuilder() = default;

// ---- parse entry points -------------------------------------------------------------------

void HtmlTreeBuilder::initialiseParse(std::string_view input, std::string_view uri, ParseErrorList* errs,
                                      const ParseSettings& s) {
    TreeBuilder::initialiseParse(input, uri, errs, s);
    openCount.fill(0);
    removedBody = nullptr;
    _state = State::Initial;
    _originalState = State::Initial;
    baseUriSetFromDoc = false;
    headElement = nullptr;
    formElement = nullptr;
    contextElement = nullptr;
    formattingElements.clear();
    pendingTableCharacters.clear();
    pendingTableHasText = false;
    _framesetOk = true;
    fosterInserts = false;
    fragmentParsing = false;
    emptyEndPending = false;
    skipNextNewline = false;
}

Ref<Document> HtmlTreeBuilder::parse(std::string_view input, std::string_view uri, ParseErrorList* errs,
                                     const ParseSettings& s) {
    initialiseParse(input, uri, errs, s);
    runParser();
    clearStack();
    formattingElements.clear();
    removedBody = nullptr;
    Ref<Document> result = std::move(doc);
    reader.reset();
    tokeniser.reset();
    arena = nullptr; // the nodes hold it from here
    return result;
}

std::vector<Ref<Node>> HtmlTreeBuilder::parseFragment(std::string_view input, Element* context,
                                                      std::string_view uri, ParseErrorList* errs,
                                                      const ParseSettings& s) {
    initialiseParse(input, uri, errs, s);
    contextElement = context;
    fragmentParsing = true;
    Element* root = nullptr;
    if (context) {
        if (Document* owner = context->ownerDocument()) doc->quirksMode(owner->quirksMode());
        switch (tagIdOf(context->tagNameNormal())) {
        case TagId::Title:
        case TagId::Textarea: tokeniser->transition(TokeniserState::Rcdata); break;
        case TagId::Iframe:
        case TagId::Noembed:
        case TagId::Noframes:
        case TagId::Style:
        case TagId::Xmp: tokeniser->transition(TokeniserState::Rawtext); break;
        case TagId::Script: tokeniser->transition(TokeniserState::ScriptData); break;
        // Everything in a plaintext context is text, its own end tag included.
        case TagId::Plaintext: tokeniser->transition(TokeniserState::PLAINTEXT); break;
        default: tokeniser->transition(TokeniserState::Data); break;
        }
        Ref<Element> html = makeIn<Element>(arena.get(), Tag::valueOf("html", settings), sharedBaseUri);
        root = html.get();
        doc->appendChild(html);
        push(root, TagId::Html);
        resetInsertionMode();
        // The form a fragment's controls belong to is the context's nearest form.
        for (Element* e = context; e; e = e->parent()) {
            if (auto* form = dynamic_cast<FormElement*>(e)) {
                formElement = form;
                break;
            }
        }
    }
    runParser();
    clearStack();
    formattingElements.clear();
    removedBody = nullptr;
    // The nodes leave the scratch document, which goes away with this parse.
    std::vector<Ref<Node>> nodes;
    Element* from = root ? root : doc.get();
    nodes.reserve(from->childNodeSize());
    for (std::size_t i = 0; i < from->childNodeSize(); ++i)
        nodes.emplace_back(from->childNode(i));
    from->empty();
    doc = nullptr;
    reader.reset();
    tokeniser.reset();
    arena = nullptr; // the nodes hold it from here
    return nodes;
}

// ---- token handling -----------------------------------------------------------------------

HtmlTreeBuilder::Tok HtmlTreeBuilder::view(Token& token) {
    Tok t;
    t.token = &token;
    switch (token.type) {
    case TokenType::Doctype: t.kind = Kind::Doctype; break;
    case TokenType::StartTag:
    case TokenType::EndTag: {
        const Token::Tag& tag = token.asTag();
        t.kind = token.type == TokenType::StartTag ? Kind::StartTag : Kind::EndTag;
        t.name = tag.name();
        t.normalName = tag.normalName();
        t.id = tagIdOf(t.normalName);
        t.selfClosing = tag.isSelfClosing();
        break;
    }
    case TokenType::Comment:
        t.kind = Kind::Comment;
        t.data = token.asComment().getData();
        break;
    case TokenType::Char:
        t.kind = Kind::Char;
        t.data = token.asCharacter().getData();
        break;
    case TokenType::EOF_: t.kind = Kind::EndOfFile; break;
    }
    return t;
}

void HtmlTreeBuilder::runParser() {
    for (;;) {
        Token& token = tokeniser->read();
        Tok t = view(token);
        currentKind = t.kind;
        if (skipNextNewline) {
            skipNextNewline = false;
            if (t.kind == Kind::Char && !t.data.empty() && t.data.front() == '\n') {
                t.data.remove_prefix(1);
                if (t.data.empty()) continue;
            }
        }
        process(t);
        if (emptyEndPending) {
            emptyEndPending = false;
            skipNextNewline = false;
            currentKind = Kind::EndTag;
            processEndTag(emptyEnd);
        }
        if (t.kind == Kind::EndOfFile) break;
    }
}

bool HtmlTreeBuilder::process(Tok& t, State mode) {
    switch (mode) {
#define HTML_INSERTION_MODE(name, function, title)                                                           \
    case State::name:                                                                                        \
        return function(t);
#include "html/parser/InsertionModes.def"
#undef HTML_INSERTION_MODE
    }
    return true;
}

bool HtmlTreeBuilder::processStartTag(std::string_view name, const Attributes* attributes) {
    Tok t;
    t.kind = Kind::StartTag;
    t.name = name;
    t.normalName = name;
    t.id = tagIdOf(name);
    t.attributes = attributes;
    return process(t);
}

bool HtmlTreeBuilder::processEndTag(std::string_view name) {
    Tok t;
    t.kind = Kind::EndTag;
    t.name = name;
    t.normalName = name;
    t.id = tagIdOf(name);
    return process(t);
}

// ---- insertion ----------------------------------------------------------------------------

Ref<Element> HtmlTreeBuilder::createElement(Tok& t) {
    // A lower-case known name is its id's registered tag: no second look-up by name.
    const Tag* known = t.name == t.normalName ? Tag::lookup(t.id) : nullptr;
    TagRef tag = known ? TagRef(const_cast<Tag*>(known)) : html::Tag::valueOf(t.name, settings);
    Ref<Element> el =
        t.id == TagId::Form
            ? Ref<Element>(makeIn<FormElement>(arena.get(), std::move(tag), sharedBaseUri, Attributes()))
            : makeIn<Element>(arena.get(), std::move(tag), sharedBaseUri);
    // The attributes are written straight into the element's own list, beside it in the arena.
    if (t.attributes ? !t.attributes->isEmpty() : (t.token && t.token->asTag().hasAttributes()))
        fillAttributes(t, el->getAttributes());
    return el;
}

void HtmlTreeBuilder::fillAttributes(const Tok& t, Attributes& attrs) const {
    if (t.attributes) {
        attrs = *t.attributes;
    } else if (t.token && t.token->asTag().hasAttributes()) {
        t.token->asTag().copyAttributesTo(attrs);
    }
    settings.normalizeAttributes(attrs);
}

Attributes HtmlTreeBuilder::tokenAttributes(const Tok& t) const {
    Attributes attrs;
    fillAttributes(t, attrs);
    return attrs;
}

Element* HtmlTreeBuilder::insert(Tok& t) {
    if (t.selfClosing && t.kind == Kind::StartTag) {
        // A self-closed element that is not void: created empty and closed at once.
        Element* el = insertEmpty(t);
        push(el, t.id);
        tokeniser->transition(TokeniserState::Data);
        emptyEndPending = true;
        emptyEnd.assign(t.normalName);
        return el;
    }
    Ref<Element> el = createElement(t);
    insert(el.get(), t.id);
    return el.get();
}

Element* HtmlTreeBuilder::insertStartTag(std::string_view name) {
    Ref<Element> el = makeIn<Element>(arena.get(), Tag::valueOf(name, settings), sharedBaseUri);
    insert(el.get(), tagIdOf(name));
    return el.get();
}

void HtmlTreeBuilder::insert(Element* el, TagId id) {
    insertNode(el);
    push(el, id);
}

Element* HtmlTreeBuilder::insertEmpty(Tok& t) {
    Ref<Element> el = createElement(t);
    insertNode(el.get());
    // Void elements take "/>" as written; other elements are closed by the builder's own end tag.
    if (t.selfClosing) tokeniser->acknowledgeSelfClosingFlag();
    return el.get();
}

FormElement* HtmlTreeBuilder::insertForm(Tok& t, bool onStack) {
    Ref<Element> el = createElement(t);
    auto* form = static_cast<FormElement*>(el.get());
    formElement = form;
    insertNode(form);
    if (onStack) push(form, TagId::Form);
    return form;
}

void HtmlTreeBuilder::insertComment(Tok& t) {
    Ref<Comment> comment = makeIn<Comment>(arena.get(), t.data, sharedBaseUri);
    insertNode(comment.get());
}

bool HtmlTreeBuilder::skipLeadingWhitespace(Tok& t) {
    const std::size_t n = leadingWhitespace(t.data);
    t.data.remove_prefix(n);
    return t.data.empty();
}

bool HtmlTreeBuilder::insertLeadingWhitespace(Tok& t) {
    const std::size_t n = leadingWhitespace(t.data);
    insertCharacters(t.data.substr(0, n));
    t.data.remove_prefix(n);
    return t.data.empty();
}

void HtmlTreeBuilder::insertCharacters(std::string_view data) {
    if (data.empty()) return;
    Ref<Node> node;
    const TagId id = currentId();
    if (id == TagId::Script || id == TagId::Style)
        node = Ref<Node>(makeIn<DataNode>(arena.get(), data, sharedBaseUri));
    else
        node = Ref<Node>(makeIn<TextNode>(arena.get(), data, sharedBaseUri));
    insertNode(node.get());
}

void HtmlTreeBuilder::insertNode(Node* node) {
    if (stack.empty()) {
        // Nothing open: only the document can take it (comments and doctypes before <html>).
        doc->appendChild(node);
    } else if (fosterInserts && sets::tableFamily.contains(currentId())) {
        insertInFosterParent(node);
    } else {
        currentElement()->appendChild(node);
    }
    // Listed controls remember the form they belong to.
    if (formElement) {
        if (Element* el = node->asElement(); el && el->tag().isFormListed() && el != formElement)
            formElement->addElement(el);
    }
}

void HtmlTreeBuilder::insertInFosterParent(Node* node) {
    Element* fosterParent = nullptr;
    Element* lastTable = nullptr;
    for (std::size_t i = stack.size(); i-- > 0;) {
        if (stack[i].id == TagId::Table) {
            lastTable = stack[i].element;
            if (lastTable->parent() == nullptr && i > 0) fosterParent = stack[i - 1].element;
            break;
        }
    }
    if (lastTable && lastTable->parentNode()) {
        lastTable->before(node);
        return;
    }
    if (!fosterParent) fosterParent = stack.front().element;
    fosterParent->appendChild(node);
}

void HtmlTreeBuilder::insertRawText(Tok& t, int tokeniserState) {
    // The tokeniser switches first, so that a self-closed element (<script/>) leaves it in Data.
    tokeniser->transition(static_cast<TokeniserState>(tokeniserState));
    markInsertionMode();
    transition(State::Text);
    insert(t);
}

void HtmlTreeBuilder::maybeSetBaseUri(Element* base) {
    if (baseUriSetFromDoc) return;
    std::string href = base->absUrl("href");
    if (!href.empty()) {
        baseUri = href;
        sharedBaseUri = make<SharedString>(href); // for the nodes still to come
        baseUriSetFromDoc = true;
        doc->setBaseUri(href);
    }
}

// ---- the stack of open elements -----------------------------------------------------------

Element* HtmlTreeBuilder::pop() {
    Element* el = stack.back().element;
    popEntry();
    return el;
}

void HtmlTreeBuilder::eraseEntry(std::size_t pos) {
    --openCount[static_cast<std::size_t>(stack[pos].id)];
    stack.erase(stack.begin() + static_cast<std::ptrdiff_t>(pos));
}

void HtmlTreeBuilder::insertEntry(std::size_t pos, OpenElement entry) {
    ++openCount[static_cast<std::size_t>(entry.id)];
    stack.insert(stack.begin() + static_cast<std::ptrdiff_t>(pos), entry);
}

void HtmlTreeBuilder::clearStack() noexcept {
    stack.clear();
    openCount.fill(0);
}

bool HtmlTreeBuilder::anyOpen(const TagSet& ids) const noexcept {
    for (std::size_t i = 1; i < openCount.size(); ++i)
        if (openCount[i] != 0 && ids.contains(static_cast<TagId>(i))) return true;
    return false;
}

std::size_t HtmlTreeBuilder::stackIndexOf(const Element* el) const noexcept {
    for (std::size_t i = stack.size(); i-- > 0;)
        if (stack[i].element == el) return i;
    return stack.size();
}

bool HtmlTreeBuilder::onStack(const Element* el) const noexcept {
    return stackIndexOf(el) < stack.size();
}

bool HtmlTreeBuilder::removeFromStack(const Element* el) {
    const std::size_t i = stackIndexOf(el);
    if (i == stack.size()) return false;
    eraseEntry(i);
    return true;
}

bool HtmlTreeBuilder::currentIs(TagId id, std::string_view name) const noexcept {
    if (stack.empty()) return false;
    const OpenElement& top = stack.back();
    if (id != TagId::Other) return top.id == id;
    return top.id == TagId::Other && top.element->tagNameNormal() == name;
}

void HtmlTreeBuilder::popStackToClose(TagId id, std::string_view name) {
    while (!stack.empty()) {
        const OpenElement top = stack.back();
        popEntry();
        if (id != TagId::Other ? top.id == id
                               : (top.id == TagId::Other && top.element->tagNameNormal() == name))
            break;
    }
}

void HtmlTreeBuilder::popStackToClose(const TagSet& ids) {
    while (!stack.empty()) {
        const TagId id = stack.back().id;
        popEntry();
        if (ids.contains(id)) break;
    }
}

void HtmlTreeBuilder::popStackToClose(const Element* el) {
    while (!stack.empty()) {
        const Element* top = stack.back().element;
        popEntry();
        if (top == el) break;
    }
}

void HtmlTreeBuilder::clearStackToContext(const TagSet& ids) {
    while (!stack.empty() && !ids.contains(stack.back().id))
        popEntry();
}

void HtmlTreeBuilder::resetInsertionMode() {
    for (std::size_t i = stack.size(); i-- > 0;) {
        const bool last = i == 0;
        TagId id = stack[i].id;
        if (last && contextElement) id = tagIdOf(contextElement->tagNameNormal());
        switch (id) {
        case TagId::Select: transition(State::InSelect); return;
        case TagId::Td:
        case TagId::Th:
            if (!last) {
                transition(State::InCell);
                return;
            }
            break;
        case TagId::Tr: transition(State::InRow); return;
        case TagId::Tbody:
        case TagId::Thead:
        case TagId::Tfoot: transition(State::InTableBody); return;
        case TagId::Caption: transition(State::InCaption); return;
        case TagId::Colgroup: transition(State::InColumnGroup); return;
        case TagId::Table: transition(State::InTable); return;
        case TagId::Head:
        case TagId::Body: transition(State::InBody); return;
        case TagId::Frameset: transition(State::InFrameset); return;
        case TagId::Html: transition(State::BeforeHead); return;
        default: break;
        }
        if (last) {
            transition(State::InBody);
            return;
        }
    }
}

// ---- scopes -------------------------------------------------------------------------------

bool HtmlTreeBuilder::inSpecificScope(TagId id, std::string_view name, const TagSet& base) const {
    if (id != TagId::Other && openCount[static_cast<std::size_t>(id)] == 0) return false;
    for (std::size_t i = stack.size(); i-- > 0;) {
        const OpenElement& e = stack[i];
        if (id != TagId::Other ? e.id == id : (e.id == TagId::Other && e.element->tagNameNormal() == name))
            return true;
        if (base.contains(e.id)) return false;
    }
    return false;
}

bool HtmlTreeBuilder::inSpecificScope(const TagSet& targets, const TagSet& base) const {
    if (!anyOpen(targets)) return false;
    for (std::size_t i = stack.size(); i-- > 0;) {
        const TagId id = stack[i].id;
        if (targets.contains(id)) return true;
        if (base.contains(id)) return false;
    }
    return false;
}

bool HtmlTreeBuilder::inScope(TagId id, std::string_view name) const {
    return inSpecificScope(id, name, sets::defaultScope);
}
bool HtmlTreeBuilder::inScope(const TagSet& targets) const {
    return inSpecificScope(targets, sets::defaultScope);
}
bool HtmlTreeBuilder::inListItemScope(TagId id) const {
    return inSpecificScope(id, {}, sets::listItemScope);
}
bool HtmlTreeBuilder::inButtonScope(TagId id) const {
    return inSpecificScope(id, {}, sets::buttonScope);
}
bool HtmlTreeBuilder::inTableScope(TagId id) const {
    return inSpecificScope(id, {}, sets::tableScope);
}
bool HtmlTreeBuilder::inTableScope(const TagSet& targets) const {
    return inSpecificScope(targets, sets::tableScope);
}

bool HtmlTreeBuilder::inSelectScope(TagId id) const {
    if (openCount[static_cast<std::size_t>(id)] == 0) return false;
    for (std::size_t i = stack.size(); i-- > 0;) {
        const TagId e = stack[i].id;
        if (e == id) return true;
        if (!sets::selectScope.contains(e)) return false;
    }
    return false;
}

void HtmlTreeBuilder::generateImpliedEndTags(TagId except) {
    while (!stack.empty()) {
        const TagId id = stack.back().id;
        if (id == except || !sets::impliedEndTags.contains(id)) break;
        popEntry();
    }
}

void HtmlTreeBuilder::closePElementIfInButtonScope() {
    if (inButtonScope(TagId::P)) processEndTag("p");
}

// ---- active formatting elements -----------------------------------------------------------

namespace {

constexpr std::size_t kMaxActiveFormattingElements = 256;

// Same name and the same attributes, in any order.
bool sameElement(const Element* a, const Element* b) {
    if (a->tagNameNormal() != b->tagNameNormal()) return false;
    const Attributes* x = a->attributesIfPresent();
    const Attributes* y = b->attributesIfPresent();
    const std::size_t xs = x ? x->size() : 0;
    if (xs != (y ? y->size() : 0)) return false;
    for (std::size_t i = 0; i < xs; ++i) {
        const Attribute* other = y->find((*x)[i].getKey());
        if (!other || other->getValue() != (*x)[i].getValue()) return false;
    }
    return true;
}

} // namespace

Ref<Element> HtmlTreeBuilder::cloneFormattingElement(const Element* el) const {
    if (const Attributes* attrs = el->attributesIfPresent(); attrs && !attrs->isEmpty())
        return makeIn<Element>(arena.get(), el->tagRef(), sharedBaseUri, *attrs);
    return makeIn<Element>(arena.get(), el->tagRef(), sharedBaseUri);
}

void HtmlTreeBuilder::pushActiveFormattingElements(Element* el, TagId id) {
    int count = 0;
    std::size_t i = formattingElements.size();
    for (; i-- > 0;) {
        const OpenElement& e = formattingElements[i];
        if (!e.element) break;
        if (e.id == id && sameElement(e.element, el)) {
            if (++count == 3) {
                formattingElements.erase(formattingElements.begin() + static_cast<std::ptrdiff_t>(i));
                i = formattingElements.size(); // recount below
                while (i-- > 0 && formattingElements[i].element) {}
                break;
            }
        }
    }
    // Entries since the last marker, capped: every walk of the list stays short even when a
    // document opens thousands of distinct formatting elements (<b id=1><b id=2>...).
    const std::size_t sinceMarker =
        formattingElements.size() - (i == static_cast<std::size_t>(-1) ? 0 : i + 1);
    if (sinceMarker >= kMaxActiveFormattingElements)
        formattingElements.erase(formattingElements.begin() +
                                 static_cast<std::ptrdiff_t>(formattingElements.size() - sinceMarker));
    formattingElements.push_back({el, id});
}

void HtmlTreeBuilder::reconstructFormattingElements() {
    const std::size_t size = formattingElements.size();
    if (size == 0) return;
    const OpenElement& last = formattingElements.back();
    if (!last.element || onStack(last.element)) return;
    // Rewind to the entry after the last marker or open element, then re-create forward.
    std::size_t pos = size - 1;
    while (pos > 0) {
        const OpenElement& e = formattingElements[pos - 1];
        if (!e.element || onStack(e.element)) break;
        --pos;
    }
    for (; pos < size; ++pos) {
        OpenElement& entry = formattingElements[pos];
        Ref<Element> clone = cloneFormattingElement(entry.element);
        insert(clone.get(), entry.id);
        entry.element = clone.get();
    }
}

void HtmlTreeBuilder::clearFormattingElementsToLastMarker() {
    while (!formattingElements.empty()) {
        const bool marker = formattingElements.back().element == nullptr;
        formattingElements.pop_back();
        if (marker) break;
    }
}

std::size_t HtmlTreeBuilder::formattingIndexOf(const Element* el) const noexcept {
    for (std::size_t i = formattingElements.size(); i-- > 0;)
        if (formattingElements[i].element == el) return i;
    return formattingElements.size();
}

void HtmlTreeBuilder::removeFromActiveFormattingElements(const Element* el) {
    const std::size_t i = formattingIndexOf(el);
    if (i < formattingElements.size())
        formattingElements.erase(formattingElements.begin() + static_cast<std::ptrdiff_t>(i));
}

bool HtmlTreeBuilder::isInActiveFormattingElements(const Element* el) const noexcept {
    return formattingIndexOf(el) < formattingElements.size();
}

Element* HtmlTreeBuilder::getActiveFormattingElement(TagId id) const noexcept {
    for (std::size_t i = formattingElements.size(); i-- > 0;) {
        const OpenElement& e = formattingElements[i];
        if (!e.element) break;
        if (e.id == id) return e.element;
    }
    return nullptr;
}

// ---- errors -------------------------------------------------------------------------------

void HtmlTreeBuilder::error(HtmlTreeBuilderState mode) {
    if (!errors || !errors->canAddError()) return;
    static constexpr TokenType kinds[] = {TokenType::Doctype, TokenType::StartTag, TokenType::EndTag,
                                          TokenType::Comment, TokenType::Char,     TokenType::EOF_};
    std::string msg = "Unexpected token [";
    msg += tokenTypeName(kinds[static_cast<int>(currentKind)]);
    msg += "] when in state [";
    msg += toString(mode);
    msg += "]";
    errors->add(reader->getPos(), std::move(msg));
}

} // namespace html
