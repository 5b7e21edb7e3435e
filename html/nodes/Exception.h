#pragma once

#include "html/nodes/ExceptionType.h"

#include <exception>
#include <string>

namespace html {

// The one error type of the HTML library: a kind and a message.
class Exception : public std::exception {
public:
    Exception(ExceptionType type, std::string message) : type_(type), message_(std::move(message)) {}

    ExceptionType type() const noexcept { return type_; }
    const std::string& message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    ExceptionType type_;
    std::string message_;
};

} // namespace html
