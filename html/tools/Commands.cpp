// The parsing commands of notara-html: tree, html, text, errors and parse.
#include "html/nodes/Document.h"
#include "html/nodes/Element.h"
#include "html/nodes/OutputSettings.h"
#include "html/parser/Parser.h"
#include "html/parser/Tag.h"
#include "html/tools/ToolCommand.h"
#include "html/tools/TreeDump.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <limits>

namespace html::tool {

namespace {

void write(std::string_view s) {
    std::cout.write(s.data(), static_cast<std::streamsize>(s.size()));
}

} // namespace

int treeCommand(ToolArgs& args) {
    std::string context;
    const bool fragment = args.option("--fragment", context);
    if (fragment && context.empty()) throw UsageError("--fragment needs a context element name");
    const std::string input = readInput(args.optionalFile());
    std::string out;
    if (fragment) {
        // A context element of its own: no ancestors, no form owner.
        Ref<Element> ctx = make<Element>(Tag::valueOf(context, ParseSettings::htmlDefault()));
        std::vector<Ref<Node>> nodes = Parser::parseFragment(input, ctx.get());
        std::vector<Node*> raw;
        raw.reserve(nodes.size());
        for (const Ref<Node>& n : nodes)
            raw.push_back(n.get());
        dumpTree(raw, out);
    } else {
        Ref<Document> doc = Parser::parse(input);
        dumpTree(doc->getChildNodes(), out);
    }
    write(out);
    return kExitOk;
}

int htmlCommand(ToolArgs& args) {
    const bool pretty = args.flag("--pretty");
    const bool compact = args.flag("--compact");
    if (pretty && compact) throw UsageError("--pretty and --compact exclude each other");
    const std::string input = readInput(args.optionalFile());
    Ref<Document> doc = Parser::parse(input);
    if (pretty || compact) doc->outputSettings().prettyPrint(pretty);
    write(doc->outerHtml());
    write("\n");
    return kExitOk;
}

int textCommand(ToolArgs& args) {
    const std::string input = readInput(args.optionalFile());
    Ref<Document> doc = Parser::parse(input);
    if (Element* body = doc->body()) write(body->text());
    write("\n");
    return kExitOk;
}

int errorsCommand(ToolArgs& args) {
    std::size_t max = std::numeric_limits<std::size_t>::max();
    args.countOption("--max", max);
    const std::string input = readInput(args.optionalFile());
    Parser parser = Parser::htmlParser();
    parser.setTrackErrors(max);
    parser.parseInput(input);
    std::string out;
    for (const ParseError& e : parser.getErrors()) {
        out += std::to_string(e.getPosition());
        out += ": ";
        out += e.getErrorMessage();
        out += '\n';
    }
    write(out);
    return kExitOk;
}

int parseCommand(ToolArgs& args) {
    std::size_t repeat = 1;
    args.countOption("--repeat", repeat);
    const bool timing = args.flag("--timing");
    const std::string input = readInput(args.optionalFile());
    std::vector<double> millis, buildMillis, freeMillis;
    millis.reserve(repeat);
    buildMillis.reserve(repeat);
    freeMillis.reserve(repeat);
    using Clock = std::chrono::steady_clock;
    const auto ms = [](Clock::time_point from, Clock::time_point to) {
        return std::chrono::duration<double, std::milli>(to - from).count();
    };
    for (std::size_t i = 0; i < repeat; ++i) {
        const auto start = Clock::now();
        Ref<Document> doc = Parser::parse(input);
        const auto built = Clock::now();
        doc = nullptr; // freeing the tree is part of the cost of a parse
        const auto stop = Clock::now();
        millis.push_back(ms(start, stop));
        buildMillis.push_back(ms(start, built));
        freeMillis.push_back(ms(built, stop));
    }
    if (timing) {
        const auto median = [](std::vector<double>& v) {
            std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
            return v[v.size() / 2];
        };
        const double total = median(millis);
        const double mb = static_cast<double>(input.size()) / 1e6;
        const double mbps = total > 0 ? mb / (total / 1000.0) : 0.0;
        char line[200];
        std::snprintf(line, sizeof line,
                      "parse: %zu bytes, %zu runs, median %.3f ms, %.1f MB/s (build %.3f ms, free %.3f ms)\n",
                      input.size(), repeat, total, mbps, median(buildMillis), median(freeMillis));
        std::cerr << line;
    }
    return kExitOk;
}

} // namespace html::tool
