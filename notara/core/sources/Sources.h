#pragma once

#include "notara/core/sources/Source.h"

#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace notara {

/// The known kinds of source, with their names and readers.
class Sources {
public:
    Sources() = delete;

    struct Kind {
        SourceKind kind;
        /// The name in the library and on the command line ("books" for --books).
        std::string_view name;
        /// What the window and exports call it ("Apple Books", "My Clippings.txt").
        std::string_view displayName;
        /// Whether the source is a folder rather than a file.
        bool isFolder;
    };

    static std::span<const Kind> kinds();
    static const Kind& of(SourceKind kind);
    static std::optional<SourceKind> byName(std::string_view name);

    static std::unique_ptr<Source> make(SourceKind kind);
    /// make(kind)->read(place).
    static SourceRead read(SourceKind kind, const std::filesystem::path& place);
    /// The source at `place` found without reading it, for the kinds that can (Books).
    static std::optional<SourceProbe> probe(SourceKind kind, const std::filesystem::path& place);
};

} // namespace notara
