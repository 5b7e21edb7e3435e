#pragma once

#include "corvane/Report.h"

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>

namespace corvane::testing {

/// Collects the report lines written while it lives.
class ReportCapture {
public:
    ReportCapture() { Report::setStream(lines_); }
    ~ReportCapture() { Report::setStream(std::cout); }
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;

    std::string text() const { return lines_.str(); }
    long lineCount() const {
        const std::string all = lines_.str();
        return std::count(all.begin(), all.end(), '\n');
    }

private:
    std::ostringstream lines_;
};

} // namespace corvane::testing
