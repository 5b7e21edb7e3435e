#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace notara::cli {

/// The headless front end over the model: lists the works of an Apple Books folder and
/// exports their annotations as Markdown. Never touches the desktop application's settings.
class NotaraCli {
public:
    enum ExitCode { Success = 0, Failure = 1, UsageError = 2 };

    /// Runs the command line `arguments` (without the program name).
    static int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

    static const char* usage();
};

} // namespace notara::cli
