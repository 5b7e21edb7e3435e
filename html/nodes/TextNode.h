#pragma once

#include "html/nodes/CompactString.h"
#include "html/nodes/Node.h"

#include <string>
#include <string_view>

namespace html {

// A run of text, stored with its character references already decoded.
class TextNode : public Node {
public:
    explicit TextNode(std::string_view text, std::string_view baseUri = {});
    TextNode(std::string_view text, Ref<SharedString> baseUri);

    std::string_view nodeName() const override { return "#text"; }
    // The text with every whitespace run collapsed to one space (not trimmed).
    std::string text() const;
    TextNode& text(std::string_view text) {
        text_.assign(text);
        return *this;
    }
    // The stored text unchanged.
    std::string_view getWholeText() const noexcept { return text_.view(); }
    // True when the text is empty or all whitespace.
    bool isBlank() const noexcept;

    void outerHtmlHead(StringBuilder& accum, int depth, const OutputSettings& out) const override;
    void outerHtmlTail(StringBuilder& accum, int depth, const OutputSettings& out) const override;

protected:
    Ref<Node> shallowClone() const override;

private:
    CompactString text_;
};

} // namespace html
