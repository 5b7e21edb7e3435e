// The select command of notara-html: runs a CSS selector over a parsed page.
#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/Elements.h"
#include "html/nodes/Exception.h"
#include "html/parser/Parser.h"
#include "html/select/CssSelector.h"
#include "html/select/QueryParser.h"
#include "html/tools/ToolCommand.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>

namespace html::tool {

int selectCommand(ToolArgs& args) {
    const bool asHtml = args.flag("--html");
    const bool count = args.flag("--count");
    if (asHtml && count) throw UsageError("--html and --count exclude each other");
    std::size_t repeat = 1;
    args.countOption("--repeat", repeat);
    const bool timing = args.flag("--timing");

    const std::vector<std::string_view> positionals = args.positionals();
    if (positionals.empty()) throw UsageError("no QUERY given");
    if (positionals.size() > 2) throw UsageError("more than one FILE given");
    const std::string_view query = positionals[0];
    const std::string_view file = positionals.size() == 2 ? positionals[1] : std::string_view{};

    // A query that does not parse is the caller's mistake: its message alone, before any input is read.
    try {
        QueryParser::parse(CssSelector::validQuery(query));
    } catch (const Exception& e) {
        std::cerr << e.message() << "\n";
        return kExitUsage;
    }

    const std::string input = readInput(file);
    Ref<Document> doc = Parser::parse(input);

    Elements matches;
    std::vector<double> millis;
    millis.reserve(repeat);
    for (std::size_t i = 0; i < repeat; ++i) {
        const auto start = std::chrono::steady_clock::now();
        matches = doc->select(query);
        const auto stop = std::chrono::steady_clock::now();
        millis.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }

    std::string out;
    if (count) {
        out = std::to_string(matches.size()) + "\n";
    } else {
        for (const Ref<Element>& element : matches) {
            if (asHtml) {
                out += element->outerHtml();
            } else {
                out += element->cssSelector();
                out += '\t';
                out += element->text();
            }
            out += '\n';
        }
    }
    std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
    std::cout.flush();

    if (timing) {
        std::nth_element(millis.begin(), millis.begin() + static_cast<std::ptrdiff_t>(millis.size() / 2),
                         millis.end());
        char line[160];
        std::snprintf(line, sizeof line, "select: %zu matches, %zu runs, median %.3f ms\n", matches.size(),
                      repeat, millis[millis.size() / 2]);
        std::cerr << line;
    }
    return kExitOk;
}

} // namespace html::tool
