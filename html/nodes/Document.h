#pragma once

#include "html/nodes/Element.h"
#include "html/nodes/OutputSettings.h"

#include <string>
#include <string_view>

namespace html {

// The root of a parsed page: an element named "#root" that also holds the output settings.
class Document : public Element {
public:
    enum class QuirksMode { noQuirks, quirks, limitedQuirks };

protected:
    HTML_NODE_MADE_BY_MAKE_ONLY;
    explicit Document(std::string_view baseUri);
    explicit Document(Ref<SharedString> baseUri);

public:
    // A document with an html element holding head and body.
    static Ref<Document> createShell(std::string_view baseUri);

    std::string_view nodeName() const override { return "#document"; }
    std::string_view location() const noexcept { return getBaseUri(); }

    // The first head / body element in document order, or null.
    Element* head() const;
    Element* body() const;
    // The text of the first title element; empty when there is none.
    std::string title() const;
    Ref<Element> createElement(std::string_view tagName) const;

    OutputSettings& outputSettings() noexcept { return outputSettings_; }
    const OutputSettings& outputSettings() const noexcept { return outputSettings_; }
    Document& outputSettings(const OutputSettings& settings) {
        outputSettings_ = settings;
        return *this;
    }
    QuirksMode quirksMode() const noexcept { return quirksMode_; }
    Document& quirksMode(QuirksMode mode) noexcept {
        quirksMode_ = mode;
        return *this;
    }
    bool updateMetaCharset() const noexcept { return updateMetaCharset_; }
    void updateMetaCharset(bool update) noexcept { updateMetaCharset_ = update; }

    // A document's HTML is that of its children.
    std::string outerHtml() const override;

protected:
    Ref<Node> shallowClone() const override;

private:
    Element* findFirst(std::string_view tagName) const;

    OutputSettings outputSettings_;
    QuirksMode quirksMode_ = QuirksMode::noQuirks;
    bool updateMetaCharset_ = false;
};

} // namespace html
