#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

/// Stateless services of the support library: today's date as text, the application's and
/// the user's folders, and saving a text file.
class Corvane {
public:
    Corvane() = delete;

    /// Today's date in the default time zone as "yyyy-MM-dd" (calendar year, not the
    /// week-based one), with the digits of the default locale.
    static std::string dateNow();

    /// The same format for any moment; `dateNow` is `dateText(now)`.
    static std::string dateText(std::chrono::system_clock::time_point moment);

    /// The application's own data folder (created on demand); empty when the platform
    /// reports none. Working copies of databases live here, never in the user's documents.
    static std::string appDocumentsPath();

    /// The user's Downloads folder, if the platform knows one.
    static std::optional<std::string> userDownloadsPath();

    /// Writes `contents` to Downloads/<dateNow>-<fileName>, atomically. `fileName` is used
    /// as given. On failure a report line says why and the result is false.
    static bool saveContentsWithFilename(std::string_view contents, std::string_view fileName);

    /// Writes `contents` to `path` atomically (a temporary file renamed over the target),
    /// so an interrupted write never leaves a half-written file; an existing file is
    /// replaced. On failure a report line says why, `problem` (when given) receives the
    /// system's reason, and the result is false.
    static bool saveContentsToPath(std::string_view contents, const std::filesystem::path& path,
                                   std::string* problem = nullptr);

    /// The same atomic replace (a temporary file beside the target, renamed over it) without
    /// waiting for the disk after each file, for writing many files in a row: the caller
    /// calls syncFolder once they are all written. A file is complete or absent, never half
    /// written.
    static bool saveContentsToPathDeferringSync(std::string_view contents, const std::filesystem::path& path,
                                                std::string* problem = nullptr);

    /// Waits until what was written into `folder`'s file system is on disk.
    static void syncFolder(const std::filesystem::path& folder);
};

} // namespace corvane
