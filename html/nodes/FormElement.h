#pragma once

#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"

namespace html {

// A form element, which also lists the controls that belong to it.
class FormElement : public Element {
    // Nodes are made with make<T>(...) only, so that every node is counted and none can
    // be made on the stack and then deleted through a Ref.
protected:
    template <class U, class... Args> friend Ref<U> make(Args&&... args);
    template <class T, class... Args> friend Ref<T> makeIn(NodeArena* arena, Args&&... args);
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
