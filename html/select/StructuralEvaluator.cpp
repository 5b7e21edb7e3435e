#include "html/select/StructuralEvaluator.h"

#include "html/nodes/Element.h"
#include "html/nodes/Exception.h"

namespace html {

namespace {

const Element* parentElement(const Element& element) {
    const Node* parent = element.parentNode();
    return parent ? parent->asElement() : nullptr;
}

const Element* previousElementSibling(const Node& node) {
    const Node* parent = node.parentNode();
    if (!parent) return nullptr;
    for (int i = node.siblingIndex() - 1; i >= 0; --i) {
        const Node* sibling = parent->childNode(static_cast<std::size_t>(i));
        if (sibling->isElement()) return sibling->asElement();
    }
    return nullptr;
}

} // namespace

bool StructuralEvaluator::innerMatches(const Element& root, const Element& element) const {
    try {
        return evaluator_->matches(root, element);
    } catch (const Exception&) {
        return false;
    }
}

bool StructuralEvaluator::Has::matches(const Element& root, const Element& element) const {
    // Pre-order walk of the descendants, stopping at the first match.
    const Node* node = &element;
    while (true) {
        if (node->hasChildNodes()) {
            node = node->childNode(0);
        } else {
            while (node != &element && !node->hasNextSibling())
                node = node->parentNode();
            if (node == &element) return false;
            node = node->nextSibling();
        }
        if (node->isElement() && innerMatches(root, *node->asElement())) return true;
    }
}

bool StructuralEvaluator::Not::matches(const Element& root, const Element& element) const {
    try {
        return !evaluator_->matches(root, element);
    } catch (const Exception&) {
        return false;
    }
}

bool StructuralEvaluator::Parent::matches(const Element& root, const Element& element) const {
    if (&root == &element) return false;
    for (const Element* ancestor = parentElement(element); ancestor; ancestor = parentElement(*ancestor)) {
        if (innerMatches(root, *ancestor)) return true;
        if (ancestor == &root) break;
    }
    return false;
}

bool StructuralEvaluator::ImmediateParent::matches(const Element& root, const Element& element) const {
    if (&root == &element) return false;
    const Element* parent = parentElement(element);
    return parent && innerMatches(root, *parent);
}

bool StructuralEvaluator::PreviousSibling::matches(const Element& root, const Element& element) const {
    if (&root == &element) return false;
    for (const Element* sibling = previousElementSibling(element); sibling;
         sibling = previousElementSibling(*sibling)) {
        if (innerMatches(root, *sibling)) return true;
    }
    return false;
}

bool StructuralEvaluator::ImmediatePreviousSibling::matches(const Element& root,
                                                            const Element& element) const {
    if (&root == &element) return false;
    const Element* sibling = previousElementSibling(element);
    return sibling && innerMatches(root, *sibling);
}

} // namespace html
