// Prints the text of every element a CSS selector matches in an HTML file:
//   select_notes notebook.html "div.noteText"
#include "html/parser/Parser.h"

#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: select_notes FILE SELECTOR\n";
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    if (!file) {
        std::cerr << "select_notes: cannot read " << argv[1] << '\n';
        return 1;
    }
    html::Ref<html::Document> document = html::parse(bytes.str());
    for (const auto& element : document->select(argv[2]))
        std::cout << element->text() << '\n';
    return 0;
}
