// libFuzzer target: any bytes read as a My Clippings.txt (or as the date of one of its records)
// give works whose annotations all carry valid UTF-8 and whole dates, and never crash, hang or
// read out of bounds.
#include "html/parser/Utf8.h"
#include "notara/core/sources/clippings/ClippingsDate.h"
#include "notara/core/sources/clippings/ClippingsReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Dates are either a whole UTC date-time or nothing.
    const notara::DateText date = notara::ClippingsDate().parse(bytes);
    if (!date.empty() && (date.size() != 20 || date.view().back() != 'Z')) std::abort();
    for (const auto& work : notara::ClippingsReader::read(bytes)) {
        if (html::utf8::firstInvalid(work->workTitle) != std::string_view::npos) std::abort();
        for (const auto& annotation : work->annotations) {
            if (!annotation->annotationCreated.empty() && annotation->annotationCreated.size() != 20)
                std::abort();
            if (html::utf8::firstInvalid(annotation->annotationSelectedText) != std::string_view::npos ||
                html::utf8::firstInvalid(annotation->annotationUserNotes) != std::string_view::npos)
                std::abort();
        }
    }
    return 0;
}
