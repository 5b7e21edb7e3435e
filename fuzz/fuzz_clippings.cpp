// libFuzzer target: any bytes read as a My Clippings.txt give works whose annotations all carry
// valid UTF-8, and never crash, hang or read out of bounds.
#include "notara/core/ClippingsReader.h"
#include "notara/core/Utf8.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const auto& work : notara::ClippingsReader::read(bytes)) {
        if (notara::firstInvalidUtf8(work->workTitle) != std::string_view::npos) std::abort();
        for (const auto& annotation : work->annotations) {
            if (notara::firstInvalidUtf8(annotation->annotationSelectedText) != std::string_view::npos ||
                notara::firstInvalidUtf8(annotation->annotationUserNotes) != std::string_view::npos)
                std::abort();
        }
    }
    return 0;
}
