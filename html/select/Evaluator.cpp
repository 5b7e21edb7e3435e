#include "html/select/Evaluator.h"

#include "html/nodes/Element.h"
#include "html/nodes/StringUtil.h"
#include "html/nodes/Validate.h"
#include "html/select/ElementPositions.h"

#include <optional>

namespace html {

namespace {

// The value of the attribute `key` (ASCII case ignored) without copying it. Keys of the form
// "abs:..." go through Node::attr, which resolves them against the base URI into `scratch`.
std::optional<std::string_view> attributeValue(const Element& element, std::string_view key,
                                               std::string& scratch) {
    if (StringUtil::startsWithIgnoreCase(key, "abs:")) {
        if (!element.hasAttr(key)) return std::nullopt;
        scratch = element.attr(key);
        return std::string_view(scratch);
    }
    const Attributes* attributes = element.attributesIfPresent();
    if (!attributes) return std::nullopt;
    const html::Attribute* attribute = attributes->findIgnoreCase(key);
    if (!attribute) return std::nullopt;
    return std::string_view(attribute->getValue());
}

// Does `text`, ASCII-lower-cased, contain `lowerNeedle` (already lower case)?
bool containsLowered(std::string_view text, std::string_view lowerNeedle) {
    if (lowerNeedle.empty()) return true;
    if (lowerNeedle.size() > text.size()) return false;
    const std::size_t last = text.size() - lowerNeedle.size();
    for (std::size_t i = 0; i <= last; ++i) {
        std::size_t j = 0;
        while (j < lowerNeedle.size() && StringUtil::toLowerAscii(text[i + j]) == lowerNeedle[j])
            ++j;
        if (j == lowerNeedle.size()) return true;
    }
    return false;
}

bool startsWithLowered(std::string_view text, std::string_view lowerPrefix) {
    return text.size() >= lowerPrefix.size() &&
           StringUtil::equalsIgnoreCase(text.substr(0, lowerPrefix.size()), lowerPrefix);
}

bool endsWithLowered(std::string_view text, std::string_view lowerSuffix) {
    return text.size() >= lowerSuffix.size() &&
           StringUtil::equalsIgnoreCase(text.substr(text.size() - lowerSuffix.size()), lowerSuffix);
}

// A parent that makes the child-position pseudo-classes apply: present and not the document.
const Node* positionedParent(const Element& element) {
    const Node* parent = element.parentNode();
    return (parent && !parent->isDocument()) ? parent : nullptr;
}

} // namespace

// ---- names and ids ----

Evaluator::Tag::Tag(std::string tagName)
    : tagName_(std::move(tagName)), tagNameNormal_(StringUtil::lowerCaseAscii(tagName_)) {}

bool Evaluator::Tag::matches(const Element&, const Element& element) const {
    return element.tagNameNormal() == tagNameNormal_;
}

bool Evaluator::TagEndsWith::matches(const Element&, const Element& element) const {
    return std::string_view(element.tagNameNormal()).ends_with(tagName_);
}

bool Evaluator::Id::matches(const Element&, const Element& element) const {
    // The same attribute Element::id reads.
    const Attributes* attributes = element.attributesIfPresent();
    return attributes && attributes->get("id") == id_;
}

bool Evaluator::Class::matches(const Element&, const Element& element) const {
    return element.hasClass(className_);
}

// ---- attributes ----

bool Evaluator::Attribute::matches(const Element&, const Element& element) const {
    // Node::hasAttr keeps a lower-cased key cache per element; a scan ignoring case needs no memory.
    if (StringUtil::startsWithIgnoreCase(key_, "abs:")) return element.hasAttr(key_);
    const Attributes* attributes = element.attributesIfPresent();
    return attributes && attributes->findIgnoreCase(key_) != nullptr;
}

Evaluator::AttributeStarting::AttributeStarting(std::string keyPrefix) : keyPrefix_(std::move(keyPrefix)) {
    Validate::notEmpty(keyPrefix_);
    StringUtil::lowerCaseAsciiInPlace(keyPrefix_);
}

bool Evaluator::AttributeStarting::matches(const Element&, const Element& element) const {
    const Attributes* attributes = element.attributesIfPresent();
    if (!attributes) return false;
    for (const html::Attribute& attribute : *attributes) {
        if (startsWithLowered(attribute.getKey(), keyPrefix_)) return true;
    }
    return false;
}

Evaluator::AttributeKeyPair::AttributeKeyPair(std::string_view key, std::string_view value) {
    Validate::notEmpty(key);
    Validate::notEmpty(value);
    key_ = StringUtil::lowerCaseAscii(StringUtil::trim(key));
    // Trimmed before the quotes are looked at too, so that ‹[x = 'y']› compares against y.
    value = StringUtil::trim(value);
    const bool quoted = value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                                              (value.front() == '\'' && value.back() == '\''));
    if (quoted) value = value.substr(1, value.size() - 2);
    value_ = StringUtil::lowerCaseAscii(StringUtil::trim(value));
}

bool Evaluator::AttributeWithValue::matches(const Element&, const Element& element) const {
    std::string scratch;
    const auto actual = attributeValue(element, key_, scratch);
    return actual && StringUtil::equalsIgnoreCase(StringUtil::trim(*actual), value_);
}

bool Evaluator::AttributeWithValueNot::matches(const Element&, const Element& element) const {
    std::string scratch;
    const auto actual = attributeValue(element, key_, scratch);
    return !StringUtil::equalsIgnoreCase(actual.value_or(std::string_view()), value_);
}

bool Evaluator::AttributeWithValueStarting::matches(const Element&, const Element& element) const {
    std::string scratch;
    const auto actual = attributeValue(element, key_, scratch);
    return actual && startsWithLowered(*actual, value_);
}

bool Evaluator::AttributeWithValueEnding::matches(const Element&, const Element& element) const {
    std::string scratch;
    const auto actual = attributeValue(element, key_, scratch);
    return actual && endsWithLowered(*actual, value_);
}

bool Evaluator::AttributeWithValueContaining::matches(const Element&, const Element& element) const {
    std::string scratch;
    const auto actual = attributeValue(element, key_, scratch);
    return actual && containsLowered(*actual, value_);
}

bool Evaluator::AttributeWithValueMatching::matches(const Element&, const Element& element) const {
    std::string scratch;
    const auto actual = attributeValue(element, key_, scratch);
    return actual && pattern_.matcher(*actual).find();
}

// ---- positions ----

bool Evaluator::IndexLessThan::matches(const Element&, const Element& element) const {
    return ElementPositions::elementIndex(element) < index_;
}

bool Evaluator::IndexGreaterThan::matches(const Element&, const Element& element) const {
    return ElementPositions::elementIndex(element) > index_;
}

bool Evaluator::IndexEquals::matches(const Element&, const Element& element) const {
    return ElementPositions::elementIndex(element) == index_;
}

bool Evaluator::IsFirstChild::matches(const Element&, const Element& element) const {
    return positionedParent(element) && ElementPositions::elementIndex(element) == 0;
}

bool Evaluator::IsLastChild::matches(const Element&, const Element& element) const {
    const Node* parent = positionedParent(element);
    return parent && ElementPositions::elementIndex(element) == ElementPositions::elementCount(*parent) - 1;
}

bool Evaluator::CssNthEvaluator::matches(const Element& root, const Element& element) const {
    if (!positionedParent(element)) return false;
    // 64-bit so that extreme a and b cannot overflow.
    const long long pos = calculatePosition(root, element);
    const long long diff = pos - b_;
    if (a_ == 0) return diff == 0;
    return diff * a_ >= 0 && diff % a_ == 0;
}

std::string Evaluator::CssNthEvaluator::toString() const {
    std::string form;
    if (a_ == 0) {
        form = std::to_string(b_);
    } else {
        form = std::to_string(a_) + "n";
        if (b_ > 0) form += '+';
        if (b_ != 0) form += std::to_string(b_);
    }
    return std::string(":") + pseudoClass() + "(" + form + ")";
}

int Evaluator::IsNthChild::calculatePosition(const Element&, const Element& element) const {
    return ElementPositions::elementIndex(element) + 1;
}

int Evaluator::IsNthLastChild::calculatePosition(const Element&, const Element& element) const {
    return ElementPositions::elementCount(*element.parentNode()) - ElementPositions::elementIndex(element);
}

int Evaluator::IsNthOfType::calculatePosition(const Element&, const Element& element) const {
    return ElementPositions::typeIndex(element) + 1;
}

int Evaluator::IsNthLastOfType::calculatePosition(const Element&, const Element& element) const {
    return ElementPositions::typeCount(element) - ElementPositions::typeIndex(element);
}

bool Evaluator::IsRoot::matches(const Element& root, const Element& element) const {
    // From a document the root is its top element (html), not the document node itself.
    if (!root.isDocument()) return &root == &element;
    for (const Node* child : root.getChildNodes()) {
        if (child->isElement()) return child == &element;
    }
    return false;
}

bool Evaluator::IsOnlyChild::matches(const Element&, const Element& element) const {
    const Node* parent = positionedParent(element);
    return parent && ElementPositions::elementCount(*parent) == 1;
}

bool Evaluator::IsOnlyOfType::matches(const Element&, const Element& element) const {
    return positionedParent(element) && ElementPositions::typeCount(element) == 1;
}

bool Evaluator::IsEmpty::matches(const Element&, const Element& element) const {
    for (const Node* child : element.getChildNodes()) {
        switch (child->kind()) {
        case NodeKind::Comment:
        case NodeKind::XmlDeclaration:
        case NodeKind::DocumentType: break;
        default: return false;
        }
    }
    return true;
}

// ---- text ----

Evaluator::ContainsText::ContainsText(std::string_view searchText)
    : searchText_(StringUtil::lowerCaseAscii(searchText)) {}

bool Evaluator::ContainsText::matches(const Element&, const Element& element) const {
    return containsLowered(element.text(), searchText_);
}

Evaluator::ContainsOwnText::ContainsOwnText(std::string_view searchText)
    : searchText_(StringUtil::lowerCaseAscii(searchText)) {}

bool Evaluator::ContainsOwnText::matches(const Element&, const Element& element) const {
    return containsLowered(element.ownText(), searchText_);
}

bool Evaluator::Matches::matches(const Element&, const Element& element) const {
    return pattern_.matcher(element.text()).find();
}

bool Evaluator::MatchesOwn::matches(const Element&, const Element& element) const {
    return pattern_.matcher(element.ownText()).find();
}

} // namespace html
