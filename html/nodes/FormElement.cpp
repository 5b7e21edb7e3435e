#include "html/nodes/FormElement.h"

namespace html {

FormElement::FormElement(TagRef tag, std::string_view baseUri)
    : Element(NodeKind::FormElement, std::move(tag), shareUri(baseUri)) {}

FormElement::FormElement(TagRef tag, Ref<SharedString> baseUri, Attributes attributes)
    : Element(NodeKind::FormElement, std::move(tag), std::move(baseUri), std::move(attributes)) {}

Ref<Node> FormElement::shallowClone() const {
    // The copy's controls are copies too; the list is not carried over to point at the originals.
    Ref<FormElement> clone = make<FormElement>(tagRef(), baseUriRef(), Attributes());
    copyElementStateTo(*clone);
    return clone;
}

} // namespace html
