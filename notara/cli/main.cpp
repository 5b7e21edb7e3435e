#include "notara/cli/NotaraCli.h"

#include "corvane/ProcessHeap.h"
#include "corvane/Report.h"

#include <QCoreApplication>

#include <iostream>

int main(int argc, char** argv) {
    // A run reads one source whole and exits: it gains from a heap set up for that.
    corvane::ProcessHeap::growInLargeSteps();
    // Our own name keeps the tool's working copies apart from the desktop application's
    // and guarantees it never reads or writes that application's settings.
    QCoreApplication::setOrganizationName("Notara");
    QCoreApplication::setApplicationName("notara-cli");
    QCoreApplication app(argc, argv);

    // Standard output carries the listing; failure reports must not mix into it.
    corvane::Report::setStream(std::cerr);

    std::vector<std::string> arguments(argv + 1, argv + argc);
    return notara::cli::NotaraCli::run(arguments, std::cout, std::cerr);
}
