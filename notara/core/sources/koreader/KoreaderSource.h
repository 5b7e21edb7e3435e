#pragma once

#include "notara/core/sources/Source.h"

namespace notara {

/// KOReader's sidecars: `<book>.sdr/metadata.<ext>.lua` beside each book, or under KOReader's
/// own `docsettings/` and `hashdocsettings/` folders, found anywhere below the folder given (a
/// whole device, a books folder, KOReader's data folder). Both the `annotations` layout and the
/// older `highlight`/`bookmarks` one are read; a damaged sidecar is named in the warnings and
/// skipped (its `.old` copy read instead when that one is sound). The books are recognised by
/// KOReader's own checksum, so a sidecar in two places is one book.
class KoreaderSource : public Source {
public:
    SourceKind kind() const override { return SourceKind::Koreader; }
    SourceRead read(const std::filesystem::path& place) const override;

    /// The sidecars below `place` (at most `limit`), without reading them.
    static std::vector<std::filesystem::path> sidecars(const std::filesystem::path& place,
                                                       std::size_t limit = 200000);
};

} // namespace notara
