#pragma once

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace html {

// A read cursor over a selector text with case-insensitive look-ahead. Positions are byte offsets
// into the UTF-8 text, but every step moves over one whole code point, so a multi-byte character
// is never split. Case-insensitive comparisons lower ASCII letters only.
class TokenQueue {
public:
    explicit TokenQueue(std::string data) : queue_(std::move(data)) {}

    bool isEmpty() const { return pos_ >= queue_.size(); }

    // The next character, or U+0000 at the end.
    char32_t peek() const;

    void addFirst(char32_t c);
    void addFirst(std::string_view seq);

    bool matches(std::string_view seq) const;
    bool matchesCS(std::string_view seq) const;
    bool matchesAny(std::initializer_list<std::string_view> seqs) const {
        return matchesAny(std::span<const std::string_view>(seqs.begin(), seqs.size()));
    }
    bool matchesAny(std::span<const std::string_view> seqs) const;
    // Compares the next character exactly against each of `chars`.
    bool matchesAnyChar(std::initializer_list<char32_t> chars) const;
    bool matchesStartTag() const;
    bool matchChomp(std::string_view seq);
    bool matchesWhitespace() const;
    bool matchesWord() const;

    void advance();
    char32_t consume();
    void consume(std::string_view seq);
    std::string consumeTo(std::string_view seq);
    std::string consumeToIgnoreCase(std::string_view seq);
    std::string consumeToAny(std::initializer_list<std::string_view> seqs) {
        return consumeToAny(std::span<const std::string_view>(seqs.begin(), seqs.size()));
    }
    std::string consumeToAny(std::span<const std::string_view> seqs);
    std::string chompTo(std::string_view seq);
    std::string chompToIgnoreCase(std::string_view seq);
    std::string chompBalanced(char32_t open, char32_t close);
    bool consumeWhitespace();
    std::string consumeWord();
    std::string consumeTagName();
    std::string consumeElementSelector();
    std::string consumeCssIdentifier();
    std::string consumeAttributeKey();
    std::string remainder();
    std::string toString() const { return queue_.substr(pos_); }

    // Drops every backslash except one that directly follows another backslash.
    static std::string unescape(std::string_view in);

private:
    std::size_t remainingLength() const { return queue_.size() - pos_; }
    // Byte length of the code point starting at `at` (1 for an invalid byte).
    std::size_t charLength(std::size_t at) const;
    char32_t charAt(std::size_t at) const;
    template <typename Pred> std::string consumeWhile(Pred pred);

    std::string queue_;
    std::size_t pos_ = 0;
};

} // namespace html
