#include "html/nodes/Comment.h"

#include "html/nodes/OutputSettings.h"
#include "html/nodes/StringBuilder.h"

#include <cstring>

namespace html {

Comment::Comment(std::string_view data, std::string_view baseUri) : Comment(data, shareUri(baseUri)) {}

Comment::Comment(std::string_view data, Ref<SharedString> baseUri)
    : Node(NodeKind::Comment, std::move(baseUri)) {
    assignData(data);
}

void Comment::outerHtmlHead(StringBuilder& accum, int depth, const OutputSettings& out) const {
    if (out.prettyPrint()) indent(accum, depth, out);
    accum.append("<!--").append(dataView()).append("-->");
}

void Comment::outerHtmlTail(StringBuilder&, int, const OutputSettings&) const {}

Ref<Node> Comment::shallowClone() const {
    Ref<Comment> clone = make<Comment>(dataView(), baseUriRef());
    copyBaseStateTo(*clone);
    return clone;
}

void Comment::assignData(std::string_view bytes) {
    if (bytes.empty()) {
        data_.reset();
    } else {
        auto fresh = std::make_unique_for_overwrite<char[]>(bytes.size());
        std::memcpy(fresh.get(), bytes.data(), bytes.size());
        data_ = std::move(fresh);
    }
    dataSize_ = static_cast<std::uint32_t>(bytes.size());
}

} // namespace html
