#pragma once

#include "html/nodes/Node.h"

#include <string>
#include <string_view>

namespace html {

// <?xml ...?> or <!...> declaration; the parts after the name are attributes.
class XmlDeclaration : public Node {
protected:
    HTML_NODE_MADE_BY_MAKE_ONLY;
    XmlDeclaration(std::string_view name, std::string_view baseUri, bool isProcessingInstruction);

public:
    std::string_view nodeName() const override { return "#declaration"; }
    const std::string& name() const noexcept { return name_; }
    bool isProcessingInstruction() const noexcept { return isProcessingInstruction_; }
    std::string getWholeDeclaration() const;

    void outerHtmlHead(StringBuilder& accum, int depth, const OutputSettings& out) const override;
    void outerHtmlTail(StringBuilder& accum, int depth, const OutputSettings& out) const override;

protected:
    Ref<Node> shallowClone() const override;

private:
    std::string name_;
    bool isProcessingInstruction_;
};

} // namespace html
