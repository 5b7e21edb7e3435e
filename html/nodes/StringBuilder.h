#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace html {

// The growable byte buffer behind all text assembly of the library.
class StringBuilder {
public:
    StringBuilder() = default;
    explicit StringBuilder(std::size_t reserve) { buffer_.reserve(reserve); }

    StringBuilder& append(std::string_view bytes) {
        buffer_.append(bytes);
        return *this;
    }
    StringBuilder& append(std::string_view bytes, std::size_t offset, std::size_t count) {
        buffer_.append(bytes.substr(offset, count));
        return *this;
    }
    StringBuilder& append(char byte) {
        buffer_.push_back(byte);
        return *this;
    }
    StringBuilder& append(const char* bytes) { return append(std::string_view(bytes)); }
    // Appends a code point encoded as UTF-8.
    StringBuilder& appendCodePoint(char32_t cp);
    StringBuilder& appendLine(std::string_view bytes) {
        buffer_.append(bytes);
        buffer_.push_back('\n');
        return *this;
    }
    StringBuilder& append(std::size_t count, char byte) {
        buffer_.append(count, byte);
        return *this;
    }

    void clear() noexcept { buffer_.clear(); }
    bool isEmpty() const noexcept { return buffer_.empty(); }
    std::size_t size() const noexcept { return buffer_.size(); }
    char back() const noexcept { return buffer_.back(); }
    void reserve(std::size_t n) { buffer_.reserve(n); }
    void resize(std::size_t n) { buffer_.resize(n); }

    std::string_view view() const noexcept { return buffer_; }
    const std::string& buffer() const noexcept { return buffer_; }
    std::string& buffer() noexcept { return buffer_; }
    std::string toString() const { return buffer_; }
    // Moves the bytes out, leaving the builder empty.
    std::string take() noexcept { return std::move(buffer_); }

private:
    std::string buffer_;
};

} // namespace html
