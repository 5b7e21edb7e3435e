#pragma once

#include <cstdint>
#include <string_view>

namespace html {

// The insertion modes, in the standard's order.
enum class HtmlTreeBuilderState : std::uint8_t {
    Initial,
    BeforeHtml,
    BeforeHead,
    InHead,
    InHeadNoscript,
    AfterHead,
    InBody,
    Text,
    InTable,
    InTableText,
    InCaption,
    InColumnGroup,
    InTableBody,
    InRow,
    InCell,
    InSelect,
    InSelectInTable,
    AfterBody,
    InFrameset,
    AfterFrameset,
    AfterAfterBody,
    AfterAfterFrameset,
    ForeignContent,
};

// The mode's name as it appears in parse error messages.
std::string_view toString(HtmlTreeBuilderState state) noexcept;

} // namespace html
