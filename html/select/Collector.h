#pragma once

#include "html/nodes/Elements.h"

namespace html {

class Element;
class Evaluator;

// Gathers the elements of a subtree that match an evaluator, in document order.
class Collector {
public:
    // Every element of `root`'s subtree (`root` included) for which `eval` matches. An element
    // whose test throws counts as not matching; the collection goes on.
    static Elements collect(const Evaluator& eval, const Element& root);

    class Accumulator;
};

} // namespace html
