// libFuzzer target: any byte string parses into a document that serialises without failing.
#include "html/nodes/Document.h"
#include "html/nodes/Exception.h"
#include "html/parser/Parser.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    html::Parser parser = html::Parser::htmlParser();
    parser.setTrackErrors(64);
    html::Ref<html::Document> doc = parser.parseInput(input, "http://example.com/");
    // Output and text extraction walk every node the builder made.
    (void)doc->outerHtml();
    if (html::Element* body = doc->body()) (void)body->text();
    return 0;
}
