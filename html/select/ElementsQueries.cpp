// The selector-based queries of Elements: select, not_ and iS.

#include "html/nodes/Document.h"
#include "html/nodes/Elements.h"
#include "html/nodes/Exception.h"
#include "html/select/CssSelector.h"
#include "html/select/QueryParser.h"

#include <unordered_set>

namespace html {

Elements Elements::select(std::string_view query) const {
    return CssSelector::select(query, *this);
}

Elements Elements::not_(std::string_view query) const {
    const Elements out = select(query);
    std::unordered_set<const Element*> excluded;
    for (const Ref<Element>& element : out)
        excluded.insert(element.get());
    Elements kept;
    for (const Ref<Element>& element : list_) {
        if (!excluded.contains(element.get())) kept.add(element.get());
    }
    return kept;
}

bool Elements::iS(std::string_view query) const {
    const EvaluatorPtr evaluator = QueryParser::parse(query);
    for (const Ref<Element>& element : list_) {
        const Document* document = element->ownerDocument();
        if (!document) continue;
        try {
            if (evaluator->matches(*document, *element)) return true;
        } catch (const Exception&) {
            // an element whose test fails does not match
        }
    }
    return false;
}

} // namespace html
