#include "html/select/StructuralEvaluator.h"

#include "html/nodes/Element.h"
#include "html/nodes/Exception.h"
#include "html/select/MatchMemo.h"

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
    // Walk up until an ancestor matches, the root has been tested, or an element already walked
    // past in this selection answers for the rest of the way; then remember the answer for every
    // element passed (they all share it).
    bool result = false;
    const Element* end = nullptr;
    for (const Element* node = &element;;) {
        if (const auto known = MatchMemo::find(*this, *node)) {
            result = *known;
            end = node;
            break;
        }
        const Element* parent = parentElement(*node);
        if (!parent) break;
        if (innerMatches(root, *parent)) {
            result = true;
            end = parent;
            break;
        }
        if (parent == &root) {
            end = parent;
            break;
        }
        node = parent;
    }
    if (MatchMemo::active()) {
        for (const Element* node = &element; node != end; node = parentElement(*node)) {
            MatchMemo::store(*this, *node, result);
        }
    }
    return result;
}

bool StructuralEvaluator::ImmediateParent::matches(const Element& root, const Element& element) const {
    if (&root == &element) return false;
    const Element* parent = parentElement(element);
    return parent && innerMatches(root, *parent);
}

bool StructuralEvaluator::PreviousSibling::matches(const Element& root, const Element& element) const {
    if (&root == &element) return false;
    // As Parent, along the earlier siblings: "some earlier sibling matches" is shared by every
    // sibling walked past.
    bool result = false;
    const Element* end = nullptr;
    for (const Element* node = &element;;) {
        if (const auto known = MatchMemo::find(*this, *node)) {
            result = *known;
            end = node;
            break;
        }
        const Element* sibling = previousElementSibling(*node);
        if (!sibling) break;
        if (innerMatches(root, *sibling)) {
            result = true;
            end = sibling;
            break;
        }
        node = sibling;
    }
    if (MatchMemo::active()) {
        for (const Element* node = &element; node != end; node = previousElementSibling(*node)) {
            MatchMemo::store(*this, *node, result);
        }
    }
    return result;
}

bool StructuralEvaluator::ImmediatePreviousSibling::matches(const Element& root,
                                                            const Element& element) const {
    if (&root == &element) return false;
    const Element* sibling = previousElementSibling(element);
    return sibling && innerMatches(root, *sibling);
}

} // namespace html
