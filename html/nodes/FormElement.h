#pragma once

#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"

namespace html {

// A form element, which also lists the controls that belong to it.
class FormElement : public Element {
protected:
    HTML_NODE_MADE_BY_MAKE_ONLY;
    explicit FormElement(TagRef tag, std::string_view baseUri = {});
    FormElement(TagRef tag, Ref<SharedString> baseUri, Attributes attributes);

public:
    const Elements& elements() const noexcept { return elements_; }
    FormElement& addElement(Element* element) {
        elements_.add(element);
        return *this;
    }

protected:
    Ref<Node> shallowClone() const override;

private:
    Elements elements_;
};

} // namespace html
