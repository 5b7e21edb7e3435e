#pragma once

#include "html/nodes/Node.h"

#include <string>
#include <string_view>

namespace html {

// <?xml ...?> or <!...> declaration; the parts after the name are attributes.
class XmlDeclaration : public Node {
    // Nodes are made with make<T>(...) only, so that every node is counted and none can
    // be made on the stack and then deleted through a Ref.
protected:
    template <class U, class... Args> friend Ref<U> make(Args&&... args);
    template <class T, class... Args> friend Ref<T> makeIn(NodeArena* arena, Args&&... args);
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
