#include "html/nodes/Attribute.h"

#include "html/nodes/Attributes.h"
#include "html/nodes/OutputSettings.h"
#include "html/nodes/StringBuilder.h"
#include "html/nodes/StringUtil.h"
#include "html/parser/Entities.h"

#include <algorithm>
#include <array>

namespace html {

namespace {
// Sorted, so a binary search answers membership.
constexpr std::array<std::string_view, 31> kBooleanAttributes = {
    "allowfullscreen", "async",     "autofocus",    "checked",        "compact",  "controls", "declare",
    "default",         "defer",     "disabled",     "formnovalidate", "hidden",   "inert",    "ismap",
    "itemscope",       "multiple",  "muted",        "nohref",         "noresize", "noshade",  "novalidate",
    "nowrap",          "open",      "readonly",     "required",       "reversed", "seamless", "selected",
    "sortable",        "truespeed", "typemustmatch"};
static_assert(std::is_sorted(kBooleanAttributes.begin(), kBooleanAttributes.end()));
} // namespace

bool Attribute::isDataAttribute() const noexcept {
    return key_.size() > Attributes::dataPrefix.size() && key_.starts_with(Attributes::dataPrefix);
}

bool Attribute::isBooleanAttribute(std::string_view key) noexcept {
    if (key.size() < 4 || key.size() > 15) return false;
    char buf[16];
    for (std::size_t i = 0; i < key.size(); ++i)
        buf[i] = StringUtil::toLowerAscii(key[i]);
    return std::binary_search(kBooleanAttributes.begin(), kBooleanAttributes.end(),
                              std::string_view(buf, key.size()));
}

} // namespace html

namespace html {

bool Attribute::shouldCollapseAttribute(const OutputSettings& out) const noexcept {
    return out.syntax() == OutputSettings::Syntax::html && isBooleanAttribute() &&
           (value_.empty() || StringUtil::equalsIgnoreCase(value_, key_));
}

void Attribute::html(StringBuilder& accum, const OutputSettings& out) const {
    accum.append(' ').append(key_);
    if (shouldCollapseAttribute(out)) return;
    accum.append("=\"");
    Entities::escape(accum.buffer(), value_, out.escapeMode(), out.charset(), true, false, false);
    accum.append('"');
}

std::string Attribute::html() const {
    StringBuilder accum;
    html(accum, OutputSettings());
    return accum.take();
}

} // namespace html
