// libFuzzer target: fragment parsing in a context chosen by the first byte.
#include "html/nodes/Element.h"
#include "html/nodes/Exception.h"
#include "html/parser/Parser.h"
#include "html/parser/Tag.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// Contexts that switch the tokeniser or start the builder in a mode other than "in body".
constexpr std::array<std::string_view, 24> kContexts = {
    "body", "div",    "html",    "head",     "title",     "textarea", "script",   "style",
    "xmp",  "iframe", "noembed", "noframes", "plaintext", "noscript", "table",    "tbody",
    "tr",   "td",     "th",      "caption",  "colgroup",  "select",   "frameset", "form",
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view context = kContexts[data[0] % kContexts.size()];
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    html::Ref<html::Element> ctx = html::make<html::Element>(html::Tag::valueOf(context));
    std::vector<html::Ref<html::Node>> nodes = html::Parser::parseFragment(input, ctx.get());
    // Put the result in the context, then replace it with a second parse of its own output.
    for (const auto& n : nodes)
        ctx->appendChild(n.get());
    const std::string once = ctx->html();
    ctx->html(once);
    (void)ctx->outerHtml();
    return 0;
}
