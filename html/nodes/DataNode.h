#pragma once

#include "html/nodes/Node.h"

#include <string>
#include <string_view>

namespace html {

// The content of a script or style element, written out unescaped. The data is the node's
// attribute "data".
class DataNode : public Node {
protected:
    HTML_NODE_MADE_BY_MAKE_ONLY;
    explicit DataNode(std::string_view data, std::string_view baseUri = {});
    DataNode(std::string_view data, Ref<SharedString> baseUri);

public:
    std::string_view nodeName() const override { return "#data"; }
    std::string_view getWholeData() const noexcept;
    DataNode& setWholeData(std::string_view data);

    void outerHtmlHead(StringBuilder& accum, int depth, const OutputSettings& out) const override;
    void outerHtmlTail(StringBuilder& accum, int depth, const OutputSettings& out) const override;

protected:
    Ref<Node> shallowClone() const override;
};

} // namespace html
