#include "html/parser/Token.h"

#include "html/nodes/Attributes.h"
#include "html/parser/HtmlWhitespace.h"

#include <unordered_set>

namespace html {

namespace {
bool hasUpper(std::string_view s) {
    for (char c : s)
        if (c >= 'A' && c <= 'Z') return true;
    return false;
}
} // namespace

// Doctype -----------------------------------------------------------------------------------------

void Token::Doctype::reset() {
    name.clear();
    pubSysKey.reset();
    publicIdentifier.clear();
    systemIdentifier.clear();
    forceQuirks = false;
}

std::string Token::Doctype::toString() const {
    return "<!doctype " + name + ">";
}

// Tag ---------------------------------------------------------------------------------------------

void Token::Tag::reset() {
    tagName.reset();
    normal.clear();
    lowered = false;
    _pendingAttributeName.reset();
    _pendingAttributeValue.reset();
    _hasEmptyAttributeValue = false;
    _hasPendingAttributeValue = false;
    _selfClosing = false;
    attrs.clear();
    names.clear();
    values.clear();
    if (!seenNames.empty()) seenNames.clear();
}

Token::Tag& Token::Tag::name(std::string_view newName) {
    tagName.reset();
    tagName.append(newName);
    recomputeNormal();
    return *this;
}

void Token::Tag::recomputeNormal() {
    const std::string_view n = tagName.str();
    lowered = hasUpper(n);
    if (lowered) {
        normal.assign(n);
        StringUtil::lowerCaseAsciiInPlace(normal);
    }
}

void Token::Tag::appendTagName(std::string_view slice) {
    tagName.appendSlice(slice);
    recomputeNormal();
}

void Token::Tag::appendTagName(char32_t c) {
    tagName.append(c);
    recomputeNormal();
}

void Token::Tag::appendAttributeName(std::string_view slice) {
    _pendingAttributeName.appendSlice(slice);
}

void Token::Tag::appendAttributeName(char32_t c) {
    _pendingAttributeName.append(c);
}

void Token::Tag::appendAttributeValue(std::string_view slice) {
    _hasPendingAttributeValue = true;
    _pendingAttributeValue.appendSlice(slice);
}

void Token::Tag::appendAttributeValueCopy(std::string_view text) {
    _hasPendingAttributeValue = true;
    _pendingAttributeValue.append(text);
}

void Token::Tag::appendAttributeValue(char32_t c) {
    _hasPendingAttributeValue = true;
    _pendingAttributeValue.append(c);
}

bool Token::Tag::isDuplicate(std::string_view name) const {
    // Tags rarely carry many attributes; past a handful, a set keeps hostile input linear.
    if (attrs.size() < 32) {
        for (const auto& a : attrs)
            if (StringUtil::equalsIgnoreCase(std::string_view(names).substr(a.nameOff, a.nameLen), name))
                return true;
        return false;
    }
    const std::string lower = StringUtil::lowerCaseAscii(name);
    if (seenNames.size() != attrs.size()) {
        seenNames.clear();
        for (const auto& a : attrs) {
            seenNames.insert(
                StringUtil::lowerCaseAscii(std::string_view(names).substr(a.nameOff, a.nameLen)));
        }
    }
    return seenNames.count(lower) != 0;
}

void Token::Tag::newAttribute() {
    if (!_pendingAttributeName.empty()) {
        const std::string_view key = _pendingAttributeName.str();
        if (!isDuplicate(key)) {
            Stored s{};
            s.nameOff = names.size();
            s.nameLen = key.size();
            names.append(key);
            s.hasValue = _hasPendingAttributeValue || _hasEmptyAttributeValue;
            if (_hasPendingAttributeValue) {
                const std::string_view v = _pendingAttributeValue.str();
                if (_pendingAttributeValue.isSlice()) {
                    s.valuePtr = v.data();
                    s.valueLen = v.size();
                } else {
                    s.valuePtr = nullptr;
                    s.valueOff = values.size();
                    s.valueLen = v.size();
                    values.append(v);
                }
            }
            attrs.push_back(s);
            if (!seenNames.empty() || attrs.size() > 32) {
                seenNames.insert(StringUtil::lowerCaseAscii(key));
            }
        }
    }
    _pendingAttributeName.reset();
    _pendingAttributeValue.reset();
    _hasEmptyAttributeValue = false;
    _hasPendingAttributeValue = false;
}

void Token::Tag::addAttribute(std::string_view key, std::string_view value, bool hasValue) {
    newAttribute();
    _pendingAttributeName.append(key);
    if (hasValue) appendAttributeValueCopy(value);
    if (hasValue && value.empty()) _hasEmptyAttributeValue = true;
    newAttribute();
}

TokenAttribute Token::Tag::attribute(std::size_t i) const {
    const Stored& s = attrs[i];
    TokenAttribute a;
    a.name = std::string_view(names).substr(s.nameOff, s.nameLen);
    if (s.valuePtr)
        a.value = std::string_view(s.valuePtr, s.valueLen);
    else if (s.valueLen)
        a.value = std::string_view(values).substr(s.valueOff, s.valueLen);
    a.hasValue = s.hasValue;
    return a;
}

std::optional<std::string_view> Token::Tag::attributeValue(std::string_view key) const {
    for (std::size_t i = 0; i < attrs.size(); ++i) {
        TokenAttribute a = attribute(i);
        if (StringUtil::equalsIgnoreCase(a.name, key)) return a.value;
    }
    return std::nullopt;
}

void Token::Tag::copyAttributesTo(Attributes& target) const {
    // Keys are already unique (repeats were dropped while tokenising), so a fresh collection
    // can take them without a lookup each.
    const bool fresh = target.isEmpty();
    target.reserve(target.size() + attrs.size());
    for (std::size_t i = 0; i < attrs.size(); ++i) {
        const TokenAttribute a = attribute(i);
        if (fresh)
            target.add(std::string(a.name), std::string(a.value));
        else
            target.put(a.name, a.value);
    }
}

std::string Token::Tag::toString() const {
    std::string s = isEndTag() ? "</" : "<";
    s += name().empty() ? "(unset)" : std::string(name());
    for (std::size_t i = 0; i < attrs.size(); ++i) {
        TokenAttribute a = attribute(i);
        s += ' ';
        s += a.name;
        if (a.hasValue) {
            s += "=\"";
            s += a.value;
            s += '"';
        }
    }
    s += _selfClosing ? "/>" : ">";
    return s;
}

// Comment -----------------------------------------------------------------------------------------

void Token::Comment::reset() {
    data.reset();
    bogus = false;
}

std::string Token::Comment::toString() const {
    return "<!--" + std::string(getData()) + "-->";
}

} // namespace html
