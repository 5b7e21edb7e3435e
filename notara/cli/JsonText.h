#pragma once

#include <string>
#include <string_view>

namespace notara::cli {

/// Appends `text` (valid UTF-8) to `out` as a JSON string literal, quotes included.
void appendJsonString(std::string& out, std::string_view text);

} // namespace notara::cli
