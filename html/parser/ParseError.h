#pragma once

#include <cstddef>
#include <string>

namespace html {

// One problem noticed while parsing: where (byte offset into the input) and what.
class ParseError {
public:
    ParseError(std::size_t pos, std::string errorMsg) : pos(pos), errorMsg(std::move(errorMsg)) {}

    std::size_t getPosition() const { return pos; }
    const std::string& getErrorMessage() const { return errorMsg; }
    // "<pos>: <message>"
    std::string toString() const { return std::to_string(pos) + ": " + errorMsg; }

    std::size_t pos;
    std::string errorMsg;
};

} // namespace html
