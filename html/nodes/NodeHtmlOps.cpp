// The node operations that take HTML text: each parses it as a fragment in the context of the
// element concerned and inserts the resulting nodes.
#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"
#include "html/nodes/Node.h"
#include "html/nodes/Validate.h"
#include "html/parser/Parser.h"

#include <vector>

namespace html {

namespace {

std::vector<Node*> raw(const std::vector<Ref<Node>>& nodes) {
    std::vector<Node*> out;
    out.reserve(nodes.size());
    for (const Ref<Node>& n : nodes)
        out.push_back(n.get());
    return out;
}

// The deepest first element child of el, following first element children down.
Element* getDeepChild(Element* el) {
    while (Element* child = el->child(0))
        el = child;
    return el;
}

} // namespace

Element& Element::html(std::string_view html) {
    // Parse before emptying, so that a failure leaves the element as it was.
    const std::vector<Ref<Node>> nodes = Parser::parseFragment(html, this, getBaseUri());
    empty();
    addChildren(raw(nodes));
    return *this;
}

Element& Element::append(std::string_view html) {
    const std::vector<Ref<Node>> nodes = Parser::parseFragment(html, this, getBaseUri());
    addChildren(raw(nodes));
    return *this;
}

Element& Element::prepend(std::string_view html) {
    const std::vector<Ref<Node>> nodes = Parser::parseFragment(html, this, getBaseUri());
    addChildren(0, raw(nodes));
    return *this;
}

Node& Node::before(std::string_view html) {
    Validate::notNull(parentNode());
    addSiblingHtml(static_cast<std::size_t>(siblingIndex()), html);
    return *this;
}

Node& Node::after(std::string_view html) {
    Validate::notNull(parentNode());
    addSiblingHtml(static_cast<std::size_t>(siblingIndex()) + 1, html);
    return *this;
}

void Node::addSiblingHtml(std::size_t index, std::string_view html) {
    Node* parent = parentNode();
    Validate::notNull(parent);
    const std::vector<Ref<Node>> nodes = Parser::parseFragment(html, parent->asElement(), getBaseUri());
    parent->addChildren(index, raw(nodes));
}

Node& Node::wrap(std::string_view html) {
    Validate::notEmpty(html);
    Node* parent = parentNode();
    Validate::notNull(parent); // a detached node has no place for the wrapper
    const std::vector<Ref<Node>> nodes = Parser::parseFragment(html, parent->asElement(), getBaseUri());
    if (nodes.empty() || !nodes.front()->isElement()) return *this; // nothing to wrap in
    Ref<Node> self(this);                                           // keeps this node alive while it moves
    Element* wrapper = nodes.front()->asElement();
    Element* deepest = getDeepChild(wrapper);
    parent->replaceChild(this, wrapper);
    deepest->appendChild(this);
    // Unbalanced wrap markup ("<div></div><p></p>"): the rest follows inside the wrapper.
    for (std::size_t i = 1; i < nodes.size(); ++i)
        wrapper->appendChild(nodes[i].get());
    return *this;
}

// The collection forms apply the operation to every member, in list order.

Elements& Elements::html(std::string_view html) {
    for (const Ref<Element>& el : *this)
        el->html(html);
    return *this;
}

Elements& Elements::append(std::string_view html) {
    for (const Ref<Element>& el : *this)
        el->append(html);
    return *this;
}

Elements& Elements::prepend(std::string_view html) {
    for (const Ref<Element>& el : *this)
        el->prepend(html);
    return *this;
}

Elements& Elements::before(std::string_view html) {
    for (const Ref<Element>& el : *this)
        el->before(html);
    return *this;
}

Elements& Elements::after(std::string_view html) {
    for (const Ref<Element>& el : *this)
        el->after(html);
    return *this;
}

Elements& Elements::wrap(std::string_view html) {
    Validate::notEmpty(html);
    for (const Ref<Element>& el : *this)
        el->wrap(html);
    return *this;
}

} // namespace html
