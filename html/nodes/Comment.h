#pragma once

#include "html/nodes/Node.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace html {

class Comment : public Node {
protected:
    HTML_NODE_MADE_BY_MAKE_ONLY;
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
