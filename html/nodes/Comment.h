#pragma once

#include "html/nodes/CompactString.h"
#include "html/nodes/Node.h"

#include <string_view>

namespace html {

class Comment : public Node {
public:
    explicit Comment(std::string_view data, std::string_view baseUri = {});
    Comment(std::string_view data, Ref<SharedString> baseUri);

    std::string_view nodeName() const override { return "#comment"; }
    std::string_view getData() const noexcept { return data_.view(); }

    void outerHtmlHead(StringBuilder& accum, int depth, const OutputSettings& out) const override;
    void outerHtmlTail(StringBuilder& accum, int depth, const OutputSettings& out) const override;

protected:
    Ref<Node> shallowClone() const override;

private:
    CompactString data_;
};

} // namespace html
