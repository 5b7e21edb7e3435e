#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace notara {

/// A UTC ISO 8601 date-time with seconds ("2021-11-01T09:24:45Z"), or nothing, held inline:
/// every annotation carries two, and a heap string each would cost a large library more than
/// its passages' metadata does. Texts of this one form order as their moments do.
class DateText {
public:
    static constexpr std::size_t capacity = 20;

    DateText() = default;
    /// Empty when `text` is longer than one date-time of this form.
    explicit DateText(std::string_view text) {
        if (text.size() > capacity) return;
        text.copy(text_.data(), text.size());
        size_ = static_cast<std::uint8_t>(text.size());
    }

    std::string_view view() const { return {text_.data(), size_}; }
    std::string str() const { return std::string(view()); }
    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }

    friend bool operator==(const DateText& a, const DateText& b) { return a.view() == b.view(); }
    friend bool operator<(const DateText& a, const DateText& b) { return a.view() < b.view(); }
    friend bool operator==(const DateText& a, std::string_view b) { return a.view() == b; }
    friend std::ostream& operator<<(std::ostream& out, const DateText& date) { return out << date.view(); }

private:
    std::array<char, capacity> text_{};
    std::uint8_t size_ = 0;
};

} // namespace notara
