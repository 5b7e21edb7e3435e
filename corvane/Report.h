#pragma once

#include <ostream>
#include <string_view>

namespace corvane {

/// The one channel for failure reports: each report is a single line, flushed at once.
/// The application writes them to standard output; a tool whose standard output carries
/// data (the command-line front end) points them at standard error instead.
class Report {
public:
    /// Writes `text` and a line feed to the current report stream and flushes it.
    static void line(std::string_view text);

    /// Sends later reports to `stream`; the stream must outlive its use.
    static void setStream(std::ostream& stream);

    /// The stream reports currently go to (standard output unless changed).
    static std::ostream& stream();
};

} // namespace corvane
