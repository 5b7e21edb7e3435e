#pragma once

#include "html/nodes/Node.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace html {

// A run of text, stored with its character references already decoded.
class TextNode : public Node {
    // Nodes are made with make<T>(...) only, so that every node is counted and none can
    // be made on the stack and then deleted through a Ref.
protected:
    template <class U, class... Args> friend Ref<U> make(Args&&... args);
    explicit TextNode(std::string_view text, std::string_view baseUri = {});
    TextNode(std::string_view text, Ref<SharedString> baseUri);
    template <class T, class... Args> friend Ref<T> makeIn(NodeArena* arena, Args&&... args);
    ~TextNode() override;

public:
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
