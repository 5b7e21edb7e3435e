// Prints the title and the text of the body of the HTML page on standard input, the way a
// browser's "copy all" would give them: page_text < page.html
#include "html/parser/Parser.h"

#include <iostream>
#include <iterator>
#include <string>

int main() {
    const std::string page((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    html::Ref<html::Document> document = html::parse(page);
    std::cout << document->title() << '\n';
    if (html::Element* body = document->body()) std::cout << body->text() << '\n';
    return 0;
}
