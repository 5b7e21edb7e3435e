#include "html/nodes/StringBuilder.h"

namespace html {

StringBuilder& StringBuilder::appendCodePoint(char32_t cp) {
    if (cp < 0x80) {
        buffer_.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        buffer_.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        buffer_.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        buffer_.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        buffer_.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        buffer_.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp <= 0x10FFFF) {
        buffer_.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        buffer_.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        buffer_.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        buffer_.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        buffer_.append("\xEF\xBF\xBD"); // not a scalar value: the replacement character
    }
    return *this;
}

} // namespace html
