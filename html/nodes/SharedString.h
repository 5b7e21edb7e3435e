#pragma once

#include <cstdint>
#include <string>

namespace html {

// An immutable byte string shared by many nodes (the base URI of a whole parse is one instance).
class SharedString {
public:
    explicit SharedString(std::string value) : value_(std::move(value)) {}
    const std::string& value() const noexcept { return value_; }

private:
    friend void refRetain(SharedString* s) noexcept { ++s->refs_; }
    friend void refRelease(SharedString* s) noexcept {
        if (--s->refs_ == 0) delete s;
    }
    std::uint32_t refs_ = 0;
    std::string value_;
};

} // namespace html
