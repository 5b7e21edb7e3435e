// libFuzzer target: any bytes either are refused with a message naming a line or parse into a
// value whose tables nest no deeper than the cap; nothing is ever run.
#include "notara/core/sources/koreader/LuaLiteral.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

int depth(const notara::LuaLiteral& value) {
    int deepest = 0;
    for (const auto& entry : value.fields)
        deepest = std::max(deepest, depth(entry.value));
    return value.isTable() ? deepest + 1 : 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto value = notara::LuaLiteral::parse(text, error);
    if (!value) {
        if (!error.starts_with("line ")) std::abort();
        return 0;
    }
    if (!error.empty() || depth(*value) > notara::LuaLiteral::maxDepth) std::abort();
    return 0;
}
