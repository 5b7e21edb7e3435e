#include "html/nodes/Attributes.h"

#include "html/nodes/BooleanAttribute.h"
#include "html/nodes/OutputSettings.h"
#include "html/nodes/StringBuilder.h"
#include "html/nodes/StringUtil.h"
#include "html/nodes/Validate.h"

namespace html {

const Attribute* Attributes::find(std::string_view key) const noexcept {
    for (const Attribute& a : attributes_)
        if (a.getKey() == key) return &a;
    return nullptr;
}

const Attribute* Attributes::findIgnoreCase(std::string_view key) const noexcept {
    for (const Attribute& a : attributes_)
        if (StringUtil::equalsIgnoreCase(a.getKey(), key)) return &a;
    return nullptr;
}

std::string_view Attributes::get(std::string_view key) const noexcept {
    const Attribute* a = find(key);
    return a ? std::string_view(a->getValue()) : std::string_view();
}

std::string_view Attributes::getIgnoreCase(std::string_view key) const {
    Validate::notEmpty(key);
    const Attribute* a = findIgnoreCase(key);
    return a ? std::string_view(a->getValue()) : std::string_view();
}

Attributes& Attributes::put(std::string_view key, std::string_view value) {
    for (Attribute& a : attributes_) {
        if (a.getKey() == key) {
            a.setValue(std::string(value));
            dropCache();
            return *this;
        }
    }
    attributes_.emplace_back(std::string(key), std::string(value));
    dropCache();
    return *this;
}

Attributes& Attributes::put(const Attribute& attribute) {
    for (Attribute& a : attributes_) {
        if (a.getKey() == attribute.getKey()) {
            a = attribute;
            dropCache();
            return *this;
        }
    }
    attributes_.push_back(attribute);
    dropCache();
    return *this;
}

void Attributes::putBoolean(std::string_view key) {
    put(BooleanAttribute(std::string(key)));
}

void Attributes::add(std::string key, std::string value) {
    attributes_.emplace_back(std::move(key), std::move(value));
    dropCache();
}

void Attributes::remove(std::string_view key) {
    for (auto it = attributes_.begin(); it != attributes_.end(); ++it) {
        if (it->getKey() == key) {
            attributes_.erase(it);
            dropCache();
            return;
        }
    }
}

void Attributes::removeIgnoreCase(std::string_view key) {
    for (auto it = attributes_.begin(); it != attributes_.end(); ++it) {
        if (StringUtil::equalsIgnoreCase(it->getKey(), key)) {
            attributes_.erase(it);
            dropCache();
            return;
        }
    }
}

bool Attributes::hasKeyIgnoreCase(std::string_view key) const {
    const std::string lower = StringUtil::lowerCaseAscii(key);
    if (!lowercasedKeysCache_) {
        auto cache = std::make_unique<std::vector<std::string>>();
        cache->reserve(attributes_.size());
        for (const Attribute& a : attributes_)
            cache->push_back(StringUtil::lowerCaseAscii(a.getKey()));
        lowercasedKeysCache_ = std::move(cache);
    }
    for (const std::string& k : *lowercasedKeysCache_)
        if (k == lower) return true;
    return false;
}

void Attributes::addAll(const Attributes& incoming) {
    if (&incoming == this) return;
    for (const Attribute& a : incoming.attributes_)
        put(a);
}

std::map<std::string, std::string> Attributes::dataset() const {
    std::map<std::string, std::string> out;
    for (const Attribute& a : attributes_)
        if (a.isDataAttribute()) out.emplace(a.getKey().substr(dataPrefix.size()), a.getValue());
    return out;
}

void Attributes::lowercaseAllKeys() {
    bool changed = false;
    for (Attribute& a : attributes_) {
        for (char c : a.getKey()) {
            if (c >= 'A' && c <= 'Z') {
                std::string key = a.getKey();
                StringUtil::lowerCaseAsciiInPlace(key);
                a.setKey(std::move(key));
                changed = true;
                break;
            }
        }
    }
    if (!changed) return;
    // Lowering can make two keys equal; the first one wins so that keys stay unique.
    for (std::size_t i = 1; i < attributes_.size();) {
        bool duplicate = false;
        for (std::size_t j = 0; j < i && !duplicate; ++j)
            duplicate = attributes_[j].getKey() == attributes_[i].getKey();
        if (duplicate)
            attributes_.erase(attributes_.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
    dropCache();
}

} // namespace html

namespace html {

void Attributes::html(StringBuilder& accum, const OutputSettings& out) const {
    for (const Attribute& a : attributes_)
        a.html(accum, out);
}

std::string Attributes::html() const {
    StringBuilder accum;
    html(accum, OutputSettings());
    return accum.take();
}

} // namespace html
