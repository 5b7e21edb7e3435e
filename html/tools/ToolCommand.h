#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace html::tool {

// Exit statuses of notara-html.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUnreadable = 1;
inline constexpr int kExitUsage = 2;

// Bad usage of a command: reported on standard error with the usage line, exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file (or standard input) that cannot be read: exit status 1.
class ReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The arguments after the command name, consumed front to back by the command.
class ToolArgs {
public:
    explicit ToolArgs(std::vector<std::string_view> args) : args_(std::move(args)) {}

    // Takes "--name" if it is next among the options; options come before the file.
    bool flag(std::string_view name);
    // Takes "--name VALUE" (or "--name=VALUE"); false when absent.
    bool option(std::string_view name, std::string& value);
    // Takes "--name N" with a positive integer N; false when absent.
    bool countOption(std::string_view name, std::size_t& value);
    // The remaining positional arguments; any left-over "--option" is a usage error.
    std::vector<std::string_view> positionals() const;
    // The one optional FILE argument ("" or "-" means standard input).
    std::string_view optionalFile() const;

private:
    std::vector<std::string_view> args_;
};

// The input of a command: the whole file, or standard input when path is empty or "-".
std::string readInput(std::string_view path);

// A command of the tool: name, usage line (after "notara-html "), and what it runs.
struct ToolCommand {
    std::string_view name;
    std::string_view usage;
    int (*run)(ToolArgs& args);
};

int treeCommand(ToolArgs& args);
int htmlCommand(ToolArgs& args);
int textCommand(ToolArgs& args);
int errorsCommand(ToolArgs& args);
int parseCommand(ToolArgs& args);
// Defined in SelectCommand.cpp.
int selectCommand(ToolArgs& args);

} // namespace html::tool
