#include "html/select/TokenQueue.h"

#include "html/nodes/StringUtil.h"
#include "html/parser/Utf8.h"

#include "html/nodes/Exception.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace html {

namespace {

bool isWhitespaceChar(char32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

bool isWordChar(char32_t c) {
    if (c < 0x80) return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    const auto mask = U_GET_GC_MASK(static_cast<UChar32>(c));
    return (mask & (U_GC_L_MASK | U_GC_M_MASK | U_GC_ND_MASK)) != 0;
}

} // namespace

std::size_t TokenQueue::charLength(std::size_t at) const {
    if (static_cast<unsigned char>(queue_[at]) < 0x80) return 1;
    int32_t i = static_cast<int32_t>(at);
    UChar32 c;
    U8_NEXT(reinterpret_cast<const uint8_t*>(queue_.data()), i, static_cast<int32_t>(queue_.size()), c);
    (void)c;
    return static_cast<std::size_t>(i) - at;
}

char32_t TokenQueue::charAt(std::size_t at) const {
    const auto lead = static_cast<unsigned char>(queue_[at]);
    if (lead < 0x80) return lead;
    int32_t i = static_cast<int32_t>(at);
    UChar32 c;
    U8_NEXT(reinterpret_cast<const uint8_t*>(queue_.data()), i, static_cast<int32_t>(queue_.size()), c);
    return c < 0 ? U'\uFFFD' : static_cast<char32_t>(c);
}

char32_t TokenQueue::peek() const {
    return isEmpty() ? U'\0' : charAt(pos_);
}

void TokenQueue::addFirst(char32_t c) {
    std::string seq;
    utf8::append(seq, c);
    addFirst(seq);
}

void TokenQueue::addFirst(std::string_view seq) {
    std::string rest;
    rest.reserve(seq.size() + remainingLength());
    rest.append(seq);
    rest.append(queue_, pos_);
    queue_ = std::move(rest);
    pos_ = 0;
}

bool TokenQueue::matches(std::string_view seq) const {
    if (seq.size() > remainingLength()) return false;
    for (std::size_t i = 0; i < seq.size(); ++i) {
        if (StringUtil::toLowerAscii(queue_[pos_ + i]) != StringUtil::toLowerAscii(seq[i])) return false;
    }
    return true;
}

bool TokenQueue::matchesCS(std::string_view seq) const {
    return std::string_view(queue_).substr(pos_).starts_with(seq);
}

bool TokenQueue::matchesAny(std::span<const std::string_view> seqs) const {
    for (std::string_view s : seqs) {
        if (matches(s)) return true;
    }
    return false;
}

bool TokenQueue::matchesAnyChar(std::initializer_list<char32_t> chars) const {
    if (isEmpty()) return false;
    const char32_t c = charAt(pos_);
    for (char32_t candidate : chars) {
        if (c == candidate) return true;
    }
    return false;
}

bool TokenQueue::matchesStartTag() const {
    if (remainingLength() < 2 || queue_[pos_] != '<') return false;
    const char32_t next = charAt(pos_ + 1);
    if (next < 0x80) return (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z');
    return (U_GET_GC_MASK(static_cast<UChar32>(next)) & (U_GC_L_MASK | U_GC_M_MASK)) != 0;
}

bool TokenQueue::matchChomp(std::string_view seq) {
    if (!matches(seq)) return false;
    pos_ += seq.size();
    return true;
}

bool TokenQueue::matchesWhitespace() const {
    return !isEmpty() && isWhitespaceChar(charAt(pos_));
}

bool TokenQueue::matchesWord() const {
    return !isEmpty() && isWordChar(charAt(pos_));
}

void TokenQueue::advance() {
    if (!isEmpty()) pos_ += charLength(pos_);
}

char32_t TokenQueue::consume() {
    if (isEmpty()) return U'\0';
    const char32_t c = charAt(pos_);
    pos_ += charLength(pos_);
    return c;
}

void TokenQueue::consume(std::string_view seq) {
    if (seq.size() > remainingLength()) {
        throw Exception(ExceptionType::IllegalArgumentException, "Queue not long enough to consume sequence");
    }
    if (!matches(seq)) {
        throw Exception(ExceptionType::IllegalArgumentException, "Queue did not match expected sequence");
    }
    pos_ += seq.size();
}

std::string TokenQueue::consumeTo(std::string_view seq) {
    const std::size_t found = queue_.find(seq, pos_);
    const std::size_t end = found == std::string::npos ? queue_.size() : found;
    std::string out = queue_.substr(pos_, end - pos_);
    pos_ = end;
    return out;
}

std::string TokenQueue::consumeToIgnoreCase(std::string_view seq) {
    const std::size_t start = pos_;
    while (!isEmpty() && !matches(seq))
        advance();
    return queue_.substr(start, pos_ - start);
}

std::string TokenQueue::consumeToAny(std::span<const std::string_view> seqs) {
    const std::size_t start = pos_;
    while (!isEmpty() && !matchesAny(seqs))
        advance();
    return queue_.substr(start, pos_ - start);
}

std::string TokenQueue::chompTo(std::string_view seq) {
    std::string data = consumeTo(seq);
    matchChomp(seq);
    return data;
}

std::string TokenQueue::chompToIgnoreCase(std::string_view seq) {
    std::string data = consumeToIgnoreCase(seq);
    matchChomp(seq);
    return data;
}

std::string TokenQueue::chompBalanced(char32_t open, char32_t close) {
    std::ptrdiff_t start = -1;
    std::ptrdiff_t end = -1;
    int depth = 0;
    char32_t last = 0;
    bool haveLast = false;
    bool inSingleQuote = false;
    bool inDoubleQuote = false;

    while (!isEmpty()) {
        const char32_t c = consume();
        if (!haveLast || last != '\\') {
            if (c == '\'' && c != open && !inDoubleQuote) {
                inSingleQuote = !inSingleQuote;
            } else if (c == '"' && c != open && !inSingleQuote) {
                inDoubleQuote = !inDoubleQuote;
            }
            if (!inSingleQuote && !inDoubleQuote) {
                if (c == open) {
                    ++depth;
                    if (start == -1) start = static_cast<std::ptrdiff_t>(pos_);
                } else if (c == close) {
                    --depth;
                }
            }
        }
        if (depth > 0 && haveLast) end = static_cast<std::ptrdiff_t>(pos_);
        last = c;
        haveLast = true;
        if (depth <= 0) break;
    }
    if (end < 0 || start < 0 || end < start) return {};
    return queue_.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

bool TokenQueue::consumeWhitespace() {
    bool seen = false;
    while (matchesWhitespace()) {
        advance();
        seen = true;
    }
    return seen;
}

template <typename Pred> std::string TokenQueue::consumeWhile(Pred pred) {
    const std::size_t start = pos_;
    while (!isEmpty() && pred())
        advance();
    return queue_.substr(start, pos_ - start);
}

std::string TokenQueue::consumeWord() {
    return consumeWhile([this] { return matchesWord(); });
}

std::string TokenQueue::consumeTagName() {
    return consumeWhile([this] { return matchesWord() || matchesAny({":", "_", "-"}); });
}

std::string TokenQueue::consumeElementSelector() {
    return consumeWhile([this] { return matchesWord() || matchesAny({"*|", "|", "_", "-"}); });
}

std::string TokenQueue::consumeCssIdentifier() {
    return consumeWhile([this] { return matchesWord() || matchesAny({"-", "_"}); });
}

std::string TokenQueue::consumeAttributeKey() {
    return consumeWhile([this] { return matchesWord() || matchesAny({"-", "_", ":"}); });
}

std::string TokenQueue::remainder() {
    std::string rest = queue_.substr(pos_);
    pos_ = queue_.size();
    return rest;
}

std::string TokenQueue::unescape(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    char last = 0;
    for (char c : in) {
        if (c != '\\' || last == '\\') out += c;
        last = c;
    }
    return out;
}

} // namespace html
