#include "html/nodes/DocumentType.h"

#include "html/nodes/StringBuilder.h"

namespace html {

DocumentType::DocumentType(std::string_view name, std::string_view pubSysKey, std::string_view publicId,
                           std::string_view systemId, std::string_view baseUri)
    : DocumentType(name, pubSysKey, publicId, systemId, shareUri(baseUri)) {}

DocumentType::DocumentType(std::string_view name, std::string_view pubSysKey, std::string_view publicId,
                           std::string_view systemId, Ref<SharedString> baseUri)
    : Node(NodeKind::DocumentType, std::move(baseUri)) {
    Attributes& a = getAttributes();
    a.put("name", name);
    if (!pubSysKey.empty()) a.put("pubSysKey", pubSysKey);
    a.put("publicId", publicId);
    a.put("systemId", systemId);
}

std::string_view DocumentType::part(std::string_view key) const noexcept {
    const Attributes* a = attributesIfPresent();
    return a ? a->get(key) : std::string_view();
}

void DocumentType::outerHtmlHead(StringBuilder& accum, int, const OutputSettings&) const {
    accum.append("<!DOCTYPE");
    if (!name().empty()) accum.append(' ').append(name());
    if (!pubSysKey().empty()) accum.append(' ').append(pubSysKey());
    if (!publicId().empty()) accum.append(" \"").append(publicId()).append('"');
    if (!systemId().empty()) accum.append(" \"").append(systemId()).append('"');
    accum.append('>');
}

void DocumentType::outerHtmlTail(StringBuilder&, int, const OutputSettings&) const {}

Ref<Node> DocumentType::shallowClone() const {
    Ref<DocumentType> clone = make<DocumentType>("", "", "", "", baseUriRef());
    copyBaseStateTo(*clone);
    return clone;
}

} // namespace html
