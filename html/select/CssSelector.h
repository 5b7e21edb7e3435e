#pragma once

#include "html/nodes/Elements.h"
#include "html/nodes/Ref.h"
#include "html/select/Evaluator.h"

#include <string_view>

namespace html {

class Element;

// A parsed query bound to the element it starts from.
class CssSelector {
public:
    // Trims the query; fails with "String must not be empty" when nothing is left, otherwise with
    // the parser's failures.
    CssSelector(std::string_view query, const Element& root);

    Elements select() const;
    const Evaluator& evaluator() const { return *evaluator_; }

    // The matches of `query` in `root`'s subtree (root included), in document order.
    static Elements select(std::string_view query, const Element& root);
    static Elements select(const Evaluator& evaluator, const Element& root);
    // The query parsed once and run from each root in turn; each element is listed once, at its
    // first occurrence.
    static Elements select(std::string_view query, const Elements& roots);

    // The query with surrounding whitespace removed; fails when that leaves nothing.
    static std::string_view validQuery(std::string_view query);

private:
    EvaluatorPtr evaluator_;
    Ref<Element> root_; // held: the selector may outlive the caller's hold on the tree
};

} // namespace html
