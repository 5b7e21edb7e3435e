#pragma once

#include <cstdint>
#include <string_view>

namespace html {

// The states of the tokeniser, with the names the HTML standard gives them (their titles are
// in the list).
enum class TokeniserState : std::uint8_t {
#define HTML_TOKENISER_STATE(name, title) name,
#include "html/parser/TokeniserStates.def"
#undef HTML_TOKENISER_STATE
};

// The state's name, as parse error messages show it.
constexpr std::string_view tokeniserStateName(TokeniserState state) {
    switch (state) {
#define HTML_TOKENISER_STATE(name, title)                                                                    \
    case TokeniserState::name:                                                                               \
        return #name;
#include "html/parser/TokeniserStates.def"
#undef HTML_TOKENISER_STATE
    }
    return "";
}

} // namespace html
