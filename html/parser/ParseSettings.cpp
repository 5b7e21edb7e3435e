#include "html/parser/ParseSettings.h"

#include "html/nodes/Attributes.h"
#include "html/nodes/StringUtil.h"

namespace html {

namespace {
constexpr ParseSettings kHtmlDefault(false, false);
constexpr ParseSettings kPreserveCase(true, true);

std::string normalize(std::string_view name, bool preserve) {
    std::string out(StringUtil::trim(name));
    if (!preserve) StringUtil::lowerCaseAsciiInPlace(out);
    return out;
}
} // namespace

const ParseSettings& ParseSettings::htmlDefault() noexcept {
    return kHtmlDefault;
}
const ParseSettings& ParseSettings::preserveCase() noexcept {
    return kPreserveCase;
}

std::string ParseSettings::normalizeTag(std::string_view name) const {
    return normalize(name, preserveTagCase_);
}

std::string ParseSettings::normalizeAttribute(std::string_view name) const {
    return normalize(name, preserveAttributeCase_);
}

void ParseSettings::normalizeAttributes(Attributes& attributes) const {
    if (!preserveAttributeCase_) attributes.lowercaseAllKeys();
}

} // namespace html
