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

// Walks from `element` along `step` (to the parent, or to the previous element sibling) until an
// element reached satisfies `test`, the walk ends or reaches `stop`, or an element already walked
// past in this selection answers for the rest of the way. The answer is then remembered for every
// element passed: they all share it, which keeps long chains linear.
template <class Step, class Test>
bool rememberedWalk(const Evaluator& evaluator, const Element& element, const Element* stop, Step step,
                    Test test) {
    bool result = false;
    const Element* end = nullptr;
    for (const Element* node = &element;;) {
        if (const auto known = MatchMemo::find(evaluator, *node)) {
            result = *known;
            end = node;
            break;
        }
        const Element* next = step(*node);
        if (!next) break;
        if (test(*next)) {
            result = true;
            end = next;
            break;
        }
        if (next == stop) {
            end = next;
            break;
        }
        node = next;
    }
    if (MatchMemo::active()) {
        for (const Element* node = &element; node != end; node = step(*node))
            MatchMemo::store(evaluator, *node, result);
    }
    return result;
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
    return rememberedWalk(*this, element, &root, parentElement,
                          [&](const Element& parent) { return innerMatches(root, parent); });
}

bool StructuralEvaluator::ImmediateParent::matches(const Element& root, const Element& element) const {
    if (&root == &element) return false;
    const Element* parent = parentElement(element);
    return parent && innerMatches(root, *parent);
}

bool StructuralEvaluator::PreviousSibling::matches(const Element& root, const Element& element) const {
    if (&root == &element) return false;
    return rememberedWalk(*this, element, nullptr, previousElementSibling,
                          [&](const Element& sibling) { return innerMatches(root, sibling); });
}

bool StructuralEvaluator::ImmediatePreviousSibling::matches(const Element& root,
                                                            const Element& element) const {
    if (&root == &element) return false;
    const Element* sibling = previousElementSibling(element);
    return sibling && innerMatches(root, *sibling);
}

} // namespace html
