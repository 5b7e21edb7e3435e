#include "html/nodes/StringBuilder.h"

#include "html/parser/Utf8.h"

namespace html {

StringBuilder& StringBuilder::appendCodePoint(char32_t cp) {
    utf8::append(buffer_, cp);
    return *this;
}

} // namespace html
