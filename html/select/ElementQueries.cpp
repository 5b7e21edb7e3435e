// The selector-based queries of Element: select, iS, cssSelector and the getElementsBy... family.

#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"
#include "html/nodes/Exception.h"
#include "html/nodes/StringUtil.h"
#include "html/nodes/Validate.h"
#include "html/select/Collector.h"
#include "html/select/CssSelector.h"
#include "html/select/Evaluator.h"
#include "html/select/QueryParser.h"
#include "html/select/TokenQueue.h"

#include <algorithm>

namespace html {

namespace {

// True when the query parser reads `name` back whole as an id or class name.
bool isCssIdentifier(std::string_view name) {
    if (name.empty()) return false;
    TokenQueue tq{std::string(name)};
    tq.consumeCssIdentifier();
    return tq.isEmpty();
}

bool isElementSelector(std::string_view name) {
    if (name.empty()) return false;
    TokenQueue tq{std::string(name)};
    if (!tq.matchesWord() && !tq.matches("*|")) return false;
    tq.consumeElementSelector();
    return tq.isEmpty();
}

// An id identifies the element only when no other element of its tree carries it.
bool isUniqueId(const Element& element, const std::string& id) {
    Node* top = element.root();
    Element* topElement = top ? top->asElement() : nullptr;
    if (!topElement) return true;
    return Collector::collect(Evaluator::Id(id), *topElement).size() == 1;
}

Elements collectWith(const Evaluator& evaluator, const Element& root) {
    return Collector::collect(evaluator, root);
}

Pattern validPattern(std::string_view regex) {
    Validate::notEmpty(regex);
    Pattern pattern{std::string(regex)};
    pattern.validate();
    return pattern;
}

} // namespace

Elements Element::select(std::string_view query) const {
    return CssSelector::select(query, *this);
}

bool Element::iS(std::string_view query) const {
    const EvaluatorPtr evaluator = QueryParser::parse(query);
    const Document* document = ownerDocument();
    if (!document) return false;
    try {
        return evaluator->matches(*document, *this);
    } catch (const Exception&) {
        return false;
    }
}

std::string Element::cssSelector() const {
    // Built from this element up to an element with a unique id or to the top of the tree,
    // without recursion so that deep trees are no risk.
    std::string selector;
    const Element* element = this;
    while (true) {
        const std::string elementId = element->id();
        if (isCssIdentifier(elementId) && isUniqueId(*element, elementId)) return "#" + elementId + selector;

        // ‹ns:tag› is written ‹ns|tag›, so a name that holds "|" itself cannot be written at all.
        // A name the parser cannot read back is replaced by "*"; the position below identifies it.
        std::string part = element->tagNameNormal();
        const bool writable = part.find('|') == std::string::npos;
        std::replace(part.begin(), part.end(), ':', '|');
        if (!writable || !isElementSelector(part)) part.assign(1, '*');
        for (const std::string& className : element->classNames()) {
            if (!isCssIdentifier(className)) continue;
            part += '.';
            part += className;
        }

        Element* parent = element->parent();
        if (!parent || parent->isDocument()) return part + selector;

        part = " > " + part;
        if (parent->select(part).size() > 1) {
            part += ":nth-child(" + std::to_string(element->elementSiblingIndex() + 1) + ")";
        }
        selector = part + selector;
        element = parent;
    }
}

Element* Element::getElementById(std::string_view id) const {
    Validate::notEmpty(id);
    const Elements found = collectWith(Evaluator::Id(std::string(id)), *this);
    return found.first();
}

Elements Element::getElementsByClass(std::string_view className) const {
    Validate::notEmpty(className);
    return collectWith(Evaluator::Class(std::string(className)), *this);
}

Elements Element::getElementsByAttribute(std::string_view key) const {
    Validate::notEmpty(key);
    const std::string_view trimmed = StringUtil::trim(key);
    Validate::notEmpty(trimmed);
    return collectWith(Evaluator::Attribute(std::string(trimmed)), *this);
}

Elements Element::getElementsByAttributeStarting(std::string_view keyPrefix) const {
    Validate::notEmpty(keyPrefix);
    return collectWith(Evaluator::AttributeStarting(StringUtil::lowerCaseAscii(StringUtil::trim(keyPrefix))),
                       *this);
}

Elements Element::getElementsByAttributeValue(std::string_view key, std::string_view value) const {
    return collectWith(Evaluator::AttributeWithValue(key, value), *this);
}

Elements Element::getElementsByAttributeValueNot(std::string_view key, std::string_view value) const {
    return collectWith(Evaluator::AttributeWithValueNot(key, value), *this);
}

Elements Element::getElementsByAttributeValueStarting(std::string_view key,
                                                      std::string_view valuePrefix) const {
    return collectWith(Evaluator::AttributeWithValueStarting(key, valuePrefix), *this);
}

Elements Element::getElementsByAttributeValueEnding(std::string_view key,
                                                    std::string_view valueSuffix) const {
    return collectWith(Evaluator::AttributeWithValueEnding(key, valueSuffix), *this);
}

Elements Element::getElementsByAttributeValueContaining(std::string_view key, std::string_view match) const {
    return collectWith(Evaluator::AttributeWithValueContaining(key, match), *this);
}

Elements Element::getElementsByAttributeValueMatching(std::string_view key, std::string_view regex) const {
    Validate::notEmpty(key);
    Pattern pattern = validPattern(regex);
    return collectWith(Evaluator::AttributeWithValueMatching(
                           StringUtil::lowerCaseAscii(StringUtil::trim(key)), std::move(pattern)),
                       *this);
}

Elements Element::getElementsByIndexLessThan(int index) const {
    return collectWith(Evaluator::IndexLessThan(index), *this);
}

Elements Element::getElementsByIndexGreaterThan(int index) const {
    return collectWith(Evaluator::IndexGreaterThan(index), *this);
}

Elements Element::getElementsByIndexEquals(int index) const {
    return collectWith(Evaluator::IndexEquals(index), *this);
}

Elements Element::getElementsContainingText(std::string_view searchText) const {
    Validate::notEmpty(searchText);
    return collectWith(Evaluator::ContainsText(searchText), *this);
}

Elements Element::getElementsContainingOwnText(std::string_view searchText) const {
    Validate::notEmpty(searchText);
    return collectWith(Evaluator::ContainsOwnText(searchText), *this);
}

Elements Element::getElementsMatchingText(std::string_view regex) const {
    return collectWith(Evaluator::Matches(validPattern(regex)), *this);
}

Elements Element::getElementsMatchingOwnText(std::string_view regex) const {
    return collectWith(Evaluator::MatchesOwn(validPattern(regex)), *this);
}

Elements Element::getAllElements() const {
    return collectWith(Evaluator::AllElements(), *this);
}

} // namespace html
