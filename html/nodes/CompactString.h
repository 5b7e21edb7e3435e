#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace html {

// An owned byte string in 16 bytes (a std::string takes 32): text nodes are the most numerous
// nodes of a page, so their size matters.
class CompactString {
public:
    CompactString() = default;
    explicit CompactString(std::string_view s) { assign(s); }
    CompactString(const CompactString& o) { assign(o.view()); }
    CompactString& operator=(const CompactString& o) {
        if (this != &o) assign(o.view());
        return *this;
    }
    CompactString(CompactString&&) noexcept = default;
    CompactString& operator=(CompactString&&) noexcept = default;

    void assign(std::string_view s) {
        if (s.empty()) {
            data_.reset();
        } else {
            auto fresh = std::make_unique_for_overwrite<char[]>(s.size());
            std::memcpy(fresh.get(), s.data(), s.size());
            data_ = std::move(fresh);
        }
        size_ = static_cast<std::uint32_t>(s.size());
    }

    std::string_view view() const noexcept { return {data_.get(), size_}; }
    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }

private:
    std::unique_ptr<char[]> data_;
    std::uint32_t size_ = 0;
};

} // namespace html
