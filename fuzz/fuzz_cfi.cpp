// libFuzzer target: any text either is refused as not a CFI or parses into a location whose
// comparison is consistent: equal to itself, antisymmetric against a real CFI and agreeing
// with its sort key.
#include "notara/core/sources/books/EpubCfi.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

int sign(int value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto cfi = notara::EpubCfi::parse(text);
    if (!cfi) return 0;
    static const auto reference =
        notara::EpubCfi::parse("epubcfi(/6/24[c_9780465008575_ps_Part09_Split3]!/4/2/296/2,/1:0,/7:257)");
    if (notara::EpubCfi::compare(*cfi, *cfi) != 0) std::abort();
    const int forward = sign(notara::EpubCfi::compare(*cfi, *reference));
    if (forward != -sign(notara::EpubCfi::compare(*reference, *cfi))) std::abort();
    const auto key = cfi->sortKey(), referenceKey = reference->sortKey();
    const int byKey = key < referenceKey ? -1 : (referenceKey < key ? 1 : 0);
    if (byKey != forward) std::abort();
    return 0;
}
