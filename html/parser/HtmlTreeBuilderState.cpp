#include "html/parser/HtmlTreeBuilderState.h"

#include <array>

namespace html {

std::string_view toString(HtmlTreeBuilderState state) noexcept {
    static constexpr std::array<std::string_view, 23> names = {
        "Initial",         "BeforeHtml",
        "BeforeHead",      "InHead",
        "InHeadNoscript",  "AfterHead",
        "InBody",          "Text",
        "InTable",         "InTableText",
        "InCaption",       "InColumnGroup",
        "InTableBody",     "InRow",
        "InCell",          "InSelect",
        "InSelectInTable", "AfterBody",
        "InFrameset",      "AfterFrameset",
        "AfterAfterBody",  "AfterAfterFrameset",
        "ForeignContent",
    };
    return names[static_cast<std::size_t>(state)];
}

} // namespace html
