#include "corvane/Report.h"

#include <atomic>
#include <iostream>

namespace corvane {

namespace {
std::atomic<std::ostream*> currentStream{&std::cout};
}

void Report::line(std::string_view text) {
    std::ostream& out = *currentStream.load();
    out << text << '\n';
    out.flush();
}

void Report::setStream(std::ostream& stream) {
    currentStream.store(&stream);
}

std::ostream& Report::stream() {
    return *currentStream.load();
}

} // namespace corvane
