#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "html/parser/ParseError.h"

namespace html {

// The parse errors of one parse, up to a limit. A list with maxSize 0 records nothing.
class ParseErrorList {
public:
    ParseErrorList(std::size_t initialCapacity, std::size_t maxSize);

    static ParseErrorList noTracking() { return ParseErrorList(0, 0); }
    static ParseErrorList tracking(std::size_t maxSize) { return ParseErrorList(16, maxSize); }

    bool canAddError() const { return array.size() < maxSize; }
    std::size_t getMaxSize() const { return maxSize; }
    std::size_t getInitialCapacity() const { return initialCapacity; }
    // Adds the error when there is room; returns whether it was added.
    bool add(ParseError error);
    bool add(std::size_t pos, std::string message) { return add(ParseError(pos, std::move(message))); }

    std::size_t size() const { return array.size(); }
    bool empty() const { return array.empty(); }
    const ParseError& operator[](std::size_t i) const { return array[i]; }
    const ParseError& at(std::size_t i) const { return array.at(i); }
    auto begin() const { return array.begin(); }
    auto end() const { return array.end(); }
    void clear() { array.clear(); }

private:
    std::size_t maxSize;
    std::size_t initialCapacity;
    std::vector<ParseError> array;
};

} // namespace html
