#include "html/select/Collector.h"

#include "html/nodes/Element.h"
#include "html/nodes/Exception.h"
#include "html/nodes/NodeTraversor.h"
#include "html/nodes/NodeVisitor.h"
#include "html/select/ElementPositions.h"
#include "html/select/Evaluator.h"
#include "html/select/MatchMemo.h"

namespace html {

class Collector::Accumulator final : public NodeVisitor {
public:
    Accumulator(const Element& root, Elements& elements, const Evaluator& eval)
        : root_(root), elements_(elements), eval_(eval) {}

    void enter(Node& node, int) override {
        if (!node.isElement()) return;
        Element& element = *node.asElement();
        bool matched = false;
        try {
            matched = eval_.matches(root_, element);
        } catch (const Exception&) {
            matched = false;
        }
        if (matched) elements_.add(&element);
    }

    void leave(Node&, int) override {}

private:
    const Element& root_;
    Elements& elements_;
    const Evaluator& eval_;
};

Elements Collector::collect(const Evaluator& eval, const Element& root) {
    Elements elements;
    Accumulator accumulator(root, elements, eval);
    ElementPositions::Scope positions;
    MatchMemo::Scope memo;
    // The inline walk calls the (final) accumulator directly instead of through the visitor table.
    // The walk changes nothing; the matches are handed out as the tree's own, editable nodes.
    NodeTraversor::forEach(
        const_cast<Element&>(root), [&accumulator](Node& node, int depth) { accumulator.enter(node, depth); },
        [](Node&, int) {});
    return elements;
}

} // namespace html
