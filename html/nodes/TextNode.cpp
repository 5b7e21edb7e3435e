#include "html/nodes/TextNode.h"

#include "html/nodes/Element.h"
#include "html/nodes/OutputSettings.h"
#include "html/nodes/StringBuilder.h"
#include "html/nodes/StringUtil.h"
#include "html/parser/Entities.h"

#include <cstring>

namespace html {

TextNode::TextNode(std::string_view text, std::string_view baseUri) : TextNode(text, shareUri(baseUri)) {}

TextNode::TextNode(std::string_view text, Ref<SharedString> baseUri)
    : Node(NodeKind::Text, std::move(baseUri)) {
    assignText(text);
}

std::string TextNode::text() const {
    return StringUtil::normaliseWhitespace(textView());
}

bool TextNode::isBlank() const noexcept {
    return StringUtil::isBlank(textView());
}

void TextNode::outerHtmlHead(StringBuilder& accum, int depth, const OutputSettings& out) const {
    const Element* parentEl = parentNode() ? parentNode()->asElement() : nullptr;
    bool normaliseWhite = false;
    if (out.prettyPrint()) {
        const bool firstInBlock = siblingIndex() == 0 && parentEl && parentEl->tag().formatAsBlock();
        const bool outlined = out.outline() && parentNode() && parentNode()->childNodeSize() > 1;
        if ((firstInBlock || outlined) && !isBlank()) indent(accum, depth, out);
        if (parentEl) {
            const Element* grand = parentEl->parent();
            normaliseWhite =
                !parentEl->tag().preserveWhitespace() && !(grand && grand->tag().preserveWhitespace());
        }
    }
    Entities::escape(accum.buffer(), textView(), out.escapeMode(), out.charset(), false, normaliseWhite,
                     false);
}

void TextNode::outerHtmlTail(StringBuilder&, int, const OutputSettings&) const {}

Ref<Node> TextNode::shallowClone() const {
    Ref<TextNode> clone = make<TextNode>(textView(), baseUriRef());
    copyBaseStateTo(*clone);
    return clone;
}

TextNode::~TextNode() {
    NodeArena::deallocateIn(arena(), text_, textSize_);
}

void TextNode::assignText(std::string_view bytes) {
    // The new bytes may be a view of the old ones: copy before giving the old ones back.
    char* fresh = nullptr;
    if (!bytes.empty()) {
        fresh = static_cast<char*>(NodeArena::allocateIn(arena(), bytes.size()));
        std::memcpy(fresh, bytes.data(), bytes.size());
    }
    NodeArena::deallocateIn(arena(), text_, textSize_);
    text_ = fresh;
    textSize_ = static_cast<std::uint32_t>(bytes.size());
}

} // namespace html
