#include "html/nodes/XmlDeclaration.h"

#include "html/nodes/OutputSettings.h"
#include "html/nodes/StringBuilder.h"

namespace html {

XmlDeclaration::XmlDeclaration(std::string_view name, std::string_view baseUri, bool isProcessingInstruction)
    : Node(NodeKind::XmlDeclaration, shareUri(baseUri)), name_(name),
      isProcessingInstruction_(isProcessingInstruction) {}

std::string XmlDeclaration::getWholeDeclaration() const {
    std::string out = name_;
    if (const Attributes* a = attributesIfPresent(); a && !a->isEmpty()) {
        StringBuilder sb;
        a->html(sb, OutputSettings());
        out.append(sb.view());
    }
    return out;
}

void XmlDeclaration::outerHtmlHead(StringBuilder& accum, int, const OutputSettings& out) const {
    accum.append('<').append(isProcessingInstruction_ ? '?' : '!').append(name_);
    if (const Attributes* a = attributesIfPresent()) a->html(accum, out);
    accum.append(isProcessingInstruction_ ? "?>" : ">");
}

void XmlDeclaration::outerHtmlTail(StringBuilder&, int, const OutputSettings&) const {}

Ref<Node> XmlDeclaration::shallowClone() const {
    auto clone = make<XmlDeclaration>(name_, std::string_view(), isProcessingInstruction_);
    copyBaseStateTo(*clone);
    return clone;
}

} // namespace html
