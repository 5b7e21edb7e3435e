#include "html/parser/ParseErrorList.h"

namespace html {

ParseErrorList::ParseErrorList(std::size_t initialCapacity, std::size_t maxSize)
    : maxSize(maxSize), initialCapacity(initialCapacity) {
    array.reserve(initialCapacity);
}

bool ParseErrorList::add(ParseError error) {
    if (!canAddError()) return false;
    array.push_back(std::move(error));
    return true;
}

} // namespace html
