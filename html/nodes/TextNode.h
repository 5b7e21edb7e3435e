#pragma once

#include "html/nodes/Node.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace html {

// A run of text, stored with its character references already decoded.
class TextNode : public Node {
protected:
    HTML_NODE_MADE_BY_MAKE_ONLY;
    explicit TextNode(std::string_view text, std::string_view baseUri = {});
    TextNode(std::string_view text, Ref<SharedString> baseUri);

public:
    ~TextNode() override;
    std::string_view nodeName() const override { return "#text"; }
    // The text with every whitespace run collapsed to one space (not trimmed).
    std::string text() const;
    TextNode& text(std::string_view text) {
        assignText(text);
        return *this;
    }
    // The stored text unchanged.
    std::string_view getWholeText() const noexcept { return textView(); }
    // True when the text is empty or all whitespace.
    bool isBlank() const noexcept;

    void outerHtmlHead(StringBuilder& accum, int depth, const OutputSettings& out) const override;
    void outerHtmlTail(StringBuilder& accum, int depth, const OutputSettings& out) const override;

protected:
    Ref<Node> shallowClone() const override;

private:
    // Declared size first so that it fits in the tail padding of Node. The bytes come from the
    // node's arena when it has one.
    std::uint32_t textSize_ = 0;
    char* text_ = nullptr;
    void assignText(std::string_view bytes);
    std::string_view textView() const noexcept { return {text_, textSize_}; }
};

} // namespace html
