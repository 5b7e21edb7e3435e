#include "html/nodes/Comment.h"

#include "html/nodes/OutputSettings.h"
#include "html/nodes/StringBuilder.h"

namespace html {

Comment::Comment(std::string_view data, std::string_view baseUri) : Comment(data, shareUri(baseUri)) {}

Comment::Comment(std::string_view data, Ref<SharedString> baseUri)
    : Node(NodeKind::Comment, std::move(baseUri)), data_(data) {}

void Comment::outerHtmlHead(StringBuilder& accum, int depth, const OutputSettings& out) const {
    if (out.prettyPrint()) indent(accum, depth, out);
    accum.append("<!--").append(data_.view()).append("-->");
}

void Comment::outerHtmlTail(StringBuilder&, int, const OutputSettings&) const {}

Ref<Node> Comment::shallowClone() const {
    Ref<Comment> clone = make<Comment>(data_.view(), baseUriRef());
    copyBaseStateTo(*clone);
    return clone;
}

} // namespace html
