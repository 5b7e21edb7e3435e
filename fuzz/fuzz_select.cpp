// libFuzzer target: the first line of the input is a selector, the rest a page. Any query either
// fails to parse with an html::Exception or selects; every match's cssSelector() selects exactly
// that match again.
#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"
#include "html/nodes/Exception.h"
#include "html/parser/Parser.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

bool mentionsRegex(std::string_view query) {
    std::string lower(query);
    for (char& c : lower)
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return lower.find("matches") != std::string::npos || lower.find("~=") != std::string::npos;
}

int depthOf(const html::Node* node) {
    int depth = 0;
    for (; node->parentNode(); node = node->parentNode())
        ++depth;
    return depth;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // An expression that does not compile reports itself on standard output once per element.
    if (!std::freopen("/dev/null", "w", stdout)) return 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string_view query = input.substr(0, newline);
    std::string_view page = input.substr(newline == std::string_view::npos ? input.size() : newline + 1);
    // Regular expressions may backtrack up to their time limit on every element: keep pages small.
    if (mentionsRegex(query) && page.size() > 512) page = page.substr(0, 512);

    html::Ref<html::Document> doc = html::Parser::parse(page);
    html::Elements found;
    try {
        found = doc->select(query);
    } catch (const html::Exception&) {
        return 0;
    }
    try {
        (void)found.not_(query);
        (void)found.iS(query);
        (void)found.select(query);
    } catch (const html::Exception&) {
        __builtin_trap(); // the query parsed once already
    }

    std::size_t checked = 0;
    for (const html::Ref<html::Element>& element : found) {
        if (element.get() == doc.get() || depthOf(element.get()) > 500) continue;
        if (++checked > 8) break;
        const std::string selector = element->cssSelector();
        const html::Elements again = doc->select(selector);
        if (again.size() != 1 || again.first() != element.get()) {
            std::fprintf(stderr, "cssSelector '%s' of <%s> finds %zu elements\n", selector.c_str(),
                         element->tagName().c_str(), again.size());
            __builtin_trap();
        }
    }
    return 0;
}
