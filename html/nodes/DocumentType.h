#pragma once

#include "html/nodes/Node.h"

#include <string_view>

namespace html {

// <!DOCTYPE name pubSysKey "publicId" "systemId">; the parts are attributes of the node.
class DocumentType : public Node {
protected:
    HTML_NODE_MADE_BY_MAKE_ONLY;
    DocumentType(std::string_view name, std::string_view pubSysKey, std::string_view publicId,
                 std::string_view systemId, std::string_view baseUri = {});
    DocumentType(std::string_view name, std::string_view pubSysKey, std::string_view publicId,
                 std::string_view systemId, Ref<SharedString> baseUri);

public:
    std::string_view nodeName() const override { return "#doctype"; }
    std::string_view name() const noexcept { return part("name"); }
    std::string_view pubSysKey() const noexcept { return part("pubSysKey"); }
    std::string_view publicId() const noexcept { return part("publicId"); }
    std::string_view systemId() const noexcept { return part("systemId"); }

    void outerHtmlHead(StringBuilder& accum, int depth, const OutputSettings& out) const override;
    void outerHtmlTail(StringBuilder& accum, int depth, const OutputSettings& out) const override;

protected:
    Ref<Node> shallowClone() const override;

private:
    std::string_view part(std::string_view key) const noexcept;
};

} // namespace html
