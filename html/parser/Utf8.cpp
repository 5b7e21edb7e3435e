#include "html/parser/Utf8.h"

namespace html::utf8 {

std::string repaired(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        int len = 0;
        char32_t c = decode(bytes.data() + i, bytes.size() - i, len);
        if (c == invalid) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(bytes.data() + i, static_cast<std::size_t>(len));
            i += static_cast<std::size_t>(len);
        }
    }
    return out;
}

} // namespace html::utf8
