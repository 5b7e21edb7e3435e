#pragma once

#include <string>
#include <string_view>

#include "html/parser/Utf8.h"

namespace html {

// Text of a token, assembled from pieces without copying when it can be: a single slice of
// the input is kept as a view (as is a run of adjacent slices); the first piece that cannot be
// is the point where the text moves into an owned buffer, which is reused from token to token.
class TokenText {
public:
    // `slice` must stay valid as long as the token (a view into the parser's input).
    void appendSlice(std::string_view slice) {
        if (slice.empty()) return;
        if (!owned) {
            if (view.empty()) {
                view = slice;
                return;
            }
            if (slice.data() == view.data() + view.size()) {
                view = std::string_view(view.data(), view.size() + slice.size());
                return;
            }
            moveToBuffer();
        }
        buffer.append(slice);
    }
    // Copies `text`.
    void append(std::string_view text) {
        if (text.empty()) return;
        if (!owned) moveToBuffer();
        buffer.append(text);
    }
    void append(char32_t c) {
        if (!owned) moveToBuffer();
        utf8::append(buffer, c);
    }
    void append(char c) {
        if (!owned) moveToBuffer();
        buffer += c;
    }

    std::string_view str() const { return owned ? std::string_view(buffer) : view; }
    // Whether the text is still a plain view (of the input), not an owned copy.
    bool isSlice() const { return !owned; }
    bool empty() const { return owned ? buffer.empty() : view.empty(); }
    std::size_t size() const { return owned ? buffer.size() : view.size(); }
    void reset() {
        view = {};
        buffer.clear();
        owned = false;
    }
    void reserve(std::size_t n) { buffer.reserve(n); }

private:
    void moveToBuffer() {
        buffer.assign(view);
        owned = true;
    }

    std::string_view view;
    std::string buffer;
    bool owned = false;
};

} // namespace html
