#include "html/select/CssSelector.h"

#include "html/nodes/Element.h"
#include "html/nodes/StringUtil.h"
#include "html/nodes/Validate.h"
#include "html/select/Collector.h"
#include "html/select/QueryParser.h"

#include <unordered_set>

namespace html {

std::string_view CssSelector::validQuery(std::string_view query) {
    const std::string_view trimmed = StringUtil::trim(query);
    Validate::notEmpty(trimmed);
    return trimmed;
}

CssSelector::CssSelector(std::string_view query, const Element& root)
    : evaluator_(QueryParser::parse(validQuery(query))), root_(const_cast<Element*>(&root)) {}

Elements CssSelector::select() const {
    return Collector::collect(*evaluator_, *root_);
}

Elements CssSelector::select(std::string_view query, const Element& root) {
    return CssSelector(query, root).select();
}

Elements CssSelector::select(const Evaluator& evaluator, const Element& root) {
    return Collector::collect(evaluator, root);
}

Elements CssSelector::select(std::string_view query, const Elements& roots) {
    const EvaluatorPtr evaluator = QueryParser::parse(validQuery(query));
    Elements result;
    std::unordered_set<const Element*> seen;
    for (std::size_t i = 0; i < roots.size(); ++i) {
        Elements found = Collector::collect(*evaluator, *roots.get(i));
        for (std::size_t j = 0; j < found.size(); ++j) {
            Element* element = found.get(j);
            if (seen.insert(element).second) result.add(element);
        }
    }
    return result;
}

} // namespace html
