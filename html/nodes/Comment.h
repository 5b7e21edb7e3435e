#pragma once

#include "html/nodes/Node.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace html {

class Comment : public Node {
    // Nodes are made with make<T>(...) only, so that every node is counted and none can
    // be made on the stack and then deleted through a Ref.
protected:
    template <class U, class... Args> friend Ref<U> make(Args&&... args);
    template <class T, class... Args> friend Ref<T> makeIn(NodeArena* arena, Args&&... args);
    explicit Comment(std::string_view data, std::string_view baseUri = {});
    Comment(std::string_view data, Ref<SharedString> baseUri);

public:
    std::string_view nodeName() const override { return "#comment"; }
    std::string_view getData() const noexcept { return dataView(); }

    void outerHtmlHead(StringBuilder& accum, int depth, const OutputSettings& out) const override;
    void outerHtmlTail(StringBuilder& accum, int depth, const OutputSettings& out) const override;

protected:
    Ref<Node> shallowClone() const override;

private:
    // Declared size first so that it fits in the tail padding of Node: the node stays at 72 bytes.
    std::uint32_t dataSize_ = 0;
    std::unique_ptr<char[]> data_;
    void assignData(std::string_view bytes);
    std::string_view dataView() const noexcept { return {data_.get(), dataSize_}; }
};

} // namespace html
