#pragma once

#include <string>

namespace notara {

/// The versions of the libraries this process runs with, for the About box and bug reports.
class LibraryVersions {
public:
    LibraryVersions() = delete;

    static std::string notara();
    static std::string icu();
    static std::string sqlite();
};

} // namespace notara
