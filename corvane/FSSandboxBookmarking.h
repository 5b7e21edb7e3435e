#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace corvane {

/// Persistent references to user-chosen files and folders, kept in the application's
/// settings (QSettings) under a key the caller chooses.
///
/// A reference holds the absolute path and the identity of the file it named (device and
/// inode). It resolves while something exists at the path; it is stale when the path now
/// names a different file, in which case it is rewritten for the file now there; it fails
/// when nothing is at the path. Every failure is one report line (see Report).
class FSSandboxBookmarking {
public:
    FSSandboxBookmarking() = delete;

    /// Stores a reference to `url` under `key`, replacing what was there. False (with a
    /// report line) when `url` names nothing or the settings cannot be written.
    static bool saveBookmark(const std::filesystem::path& url, const std::string& key);

    /// The path stored under `key`. Absent, silently, when nothing was stored; absent
    /// after a report line when it no longer resolves (the stored value is kept).
    static std::optional<std::filesystem::path> resolveBookmark(const std::string& key);

    /// The path stored under `key` without resolving it (for saying which file went
    /// missing); absent when nothing readable is stored.
    static std::optional<std::filesystem::path> storedPath(const std::string& key);
};

} // namespace corvane
