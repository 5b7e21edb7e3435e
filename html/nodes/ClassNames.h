#pragma once

#include "html/nodes/StringUtil.h"

#include <cstddef>
#include <iterator>
#include <string_view>

namespace html {

// The names in a class attribute's value, as views into it, split at the separators of class
// lists (space and 0x09 to 0x0D); no name is empty. The one splitter for every reader of classes.
class ClassNames {
public:
    explicit ClassNames(std::string_view value) noexcept : value_(value) {}

    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::string_view*;
        using reference = std::string_view;

        iterator() noexcept = default;
        iterator(std::string_view value, std::size_t at) noexcept : value_(value), begin_(at) { find(); }

        std::string_view operator*() const noexcept { return value_.substr(begin_, end_ - begin_); }
        iterator& operator++() noexcept {
            begin_ = end_;
            find();
            return *this;
        }
        iterator operator++(int) noexcept {
            iterator before = *this;
            ++*this;
            return before;
        }
        friend bool operator==(const iterator& a, const iterator& b) noexcept { return a.begin_ == b.begin_; }

    private:
        void find() noexcept {
            while (begin_ < value_.size() && StringUtil::isActuallyWhitespace(value_[begin_]))
                ++begin_;
            end_ = begin_;
            while (end_ < value_.size() && !StringUtil::isActuallyWhitespace(value_[end_]))
                ++end_;
        }

        std::string_view value_;
        std::size_t begin_ = 0, end_ = 0;
    };

    iterator begin() const noexcept { return iterator(value_, 0); }
    iterator end() const noexcept { return iterator(value_, value_.size()); }

private:
    std::string_view value_;
};

} // namespace html
