#pragma once

// Points HOME and the XDG folders at a fresh temporary folder for the whole test program,
// so tests never read or write the real user's settings, data or Downloads. Include it
// from exactly one source file per test program and define one instance there.

#include <QCoreApplication>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace corvane::testing {

class TemporaryHome {
public:
    explicit TemporaryHome(const char* applicationName) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/notara-test-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary home");
        path_ = pattern;
        ::setenv("HOME", path_.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (path_ / ".config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (path_ / ".local/share").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (path_ / ".cache").c_str(), 1);
        ::setenv("XDG_STATE_HOME", (path_ / ".local/state").c_str(), 1);
        ::unsetenv("XDG_DOWNLOAD_DIR");
        QCoreApplication::setOrganizationName("Notara Tests");
        QCoreApplication::setApplicationName(applicationName);
    }
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;
    ~TemporaryHome() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace corvane::testing
