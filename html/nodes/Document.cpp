#include "html/nodes/Document.h"

#include "html/nodes/NodeTraversor.h"

namespace html {

Document::Document(std::string_view baseUri) : Document(shareUri(baseUri)) {}

Document::Document(Ref<SharedString> baseUri)
    : Element(NodeKind::Document, Tag::valueOf("#root"), std::move(baseUri)) {}

Ref<Document> Document::createShell(std::string_view baseUri) {
    Ref<Document> doc = make<Document>(baseUri);
    Ref<Element> root = doc->appendElement("html");
    root->appendElement("head");
    root->appendElement("body");
    return doc;
}

Element* Document::findFirst(std::string_view tagName) const {
    // Depth first with early exit; the walk is iterative like every other.
    const Node* node = this;
    while (node) {
        if (const Element* e = node->asElement(); e && e != this && e->tagNameNormal() == tagName)
            return const_cast<Element*>(e);
        if (node->hasChildNodes()) {
            node = node->childNode(0);
            continue;
        }
        while (node != this && !node->nextSibling())
            node = node->parentNode();
        if (node == this) return nullptr;
        node = node->nextSibling();
    }
    return nullptr;
}

Element* Document::head() const {
    return findFirst("head");
}

Element* Document::body() const {
    return findFirst("body");
}

std::string Document::title() const {
    const Element* t = findFirst("title");
    return t ? t->text() : std::string();
}

Ref<Element> Document::createElement(std::string_view tagName) const {
    return make<Element>(Tag::valueOf(tagName), baseUriRef());
}

std::string Document::outerHtml() const {
    return html();
}

Ref<Node> Document::shallowClone() const {
    Ref<Document> clone = make<Document>(baseUriRef());
    copyElementStateTo(*clone);
    clone->outputSettings_ = outputSettings_;
    clone->quirksMode_ = quirksMode_;
    clone->updateMetaCharset_ = updateMetaCharset_;
    return clone;
}

} // namespace html
