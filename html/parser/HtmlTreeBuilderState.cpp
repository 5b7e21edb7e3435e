#include "html/parser/HtmlTreeBuilderState.h"

namespace html {

std::string_view toString(HtmlTreeBuilderState state) noexcept {
    switch (state) {
#define HTML_INSERTION_MODE(name, function, title)                                                           \
    case HtmlTreeBuilderState::name:                                                                         \
        return #name;
#include "html/parser/InsertionModes.def"
#undef HTML_INSERTION_MODE
    }
    return "";
}

} // namespace html
