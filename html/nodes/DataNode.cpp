#include "html/nodes/DataNode.h"

#include "html/nodes/StringBuilder.h"

namespace html {

DataNode::DataNode(std::string_view data, std::string_view baseUri) : DataNode(data, shareUri(baseUri)) {}

DataNode::DataNode(std::string_view data, Ref<SharedString> baseUri)
    : Node(NodeKind::Data, std::move(baseUri)) {
    getAttributes().put("data", data);
}

std::string_view DataNode::getWholeData() const noexcept {
    const Attributes* a = attributesIfPresent();
    return a ? a->get("data") : std::string_view();
}

DataNode& DataNode::setWholeData(std::string_view data) {
    getAttributes().put("data", data);
    return *this;
}

void DataNode::outerHtmlHead(StringBuilder& accum, int, const OutputSettings&) const {
    accum.append(getWholeData());
}

void DataNode::outerHtmlTail(StringBuilder&, int, const OutputSettings&) const {}

Ref<Node> DataNode::shallowClone() const {
    Ref<DataNode> clone = make<DataNode>(std::string_view(), baseUriRef());
    copyBaseStateTo(*clone);
    return clone;
}

} // namespace html
