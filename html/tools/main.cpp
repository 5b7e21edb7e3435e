// notara-html: the HTML library's command-line tool.
#include "html/nodes/Exception.h"
#include "html/tools/ToolCommand.h"

#include <array>
#include <iostream>

using namespace html::tool;

namespace {

// One line per command.
constexpr std::array kCommands = {
    ToolCommand{"tree", "tree [--fragment CONTEXT] [FILE]", treeCommand},
    ToolCommand{"html", "html [--pretty|--compact] [FILE]", htmlCommand},
    ToolCommand{"text", "text [FILE]", textCommand},
    ToolCommand{"errors", "errors [--max N] [FILE]", errorsCommand},
    ToolCommand{"parse", "parse [--repeat N] [--timing] [FILE]", parseCommand},
    ToolCommand{"select", "select [--html|--count] [--repeat N] [--timing] QUERY [FILE]", selectCommand},
};

void printUsage(std::ostream& out) {
    out << "usage:\n";
    for (const ToolCommand& c : kCommands)
        out << "  notara-html " << c.usage << "\n";
    out << "FILE defaults to standard input.\n";
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    if (argc < 2) {
        std::cerr << "notara-html: no command given\n";
        printUsage(std::cerr);
        return kExitUsage;
    }
    const std::string_view name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(std::cout);
        return kExitOk;
    }
    for (const ToolCommand& command : kCommands) {
        if (command.name != name) continue;
        ToolArgs args(std::vector<std::string_view>(argv + 2, argv + argc));
        try {
            return command.run(args);
        } catch (const UsageError& e) {
            std::cerr << "notara-html " << name << ": " << e.what() << "\nusage: notara-html "
                      << command.usage << "\n";
            return kExitUsage;
        } catch (const ReadError& e) {
            std::cerr << "notara-html " << name << ": " << e.what() << "\n";
            return kExitUnreadable;
        } catch (const html::Exception& e) {
            std::cerr << "notara-html " << name << ": " << e.what() << "\n";
            return kExitUnreadable;
        }
    }
    std::cerr << "notara-html: unknown command '" << name << "'\n";
    printUsage(std::cerr);
    return kExitUsage;
}
