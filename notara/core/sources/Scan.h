#pragma once

#include "notara/core/sources/SourceKind.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace notara {

/// Looks for the Linux readers' highlights in the places they keep them: KOReader's data folder
/// (also the Flatpak one, and KOReader on a mounted e-reader), Foliate's data folder (also the
/// Flatpak one), calibre's viewer folder and its library. Only asked for: nothing is read
/// before, and nothing found is ever written.
class Scan {
public:
    struct Found {
        SourceKind kind;
        std::filesystem::path place;
        std::size_t books = 0;
        std::size_t highlights = 0;
    };

    struct Places {
        std::filesystem::path home;
        std::filesystem::path configHome; // $XDG_CONFIG_HOME, else ~/.config
        std::filesystem::path dataHome;   // $XDG_DATA_HOME, else ~/.local/share
        std::vector<std::filesystem::path> mountPoints;
        /// This user's folders and mounted volumes.
        static Places ofThisUser();
    };

    /// The places that exist, in the order above, without reading them.
    static std::vector<std::pair<SourceKind, std::filesystem::path>> candidates(const Places& places);
    /// Each candidate that holds highlights, with what it holds.
    static std::vector<Found> run(const Places& places);
};

} // namespace notara
