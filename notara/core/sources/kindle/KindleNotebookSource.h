#pragma once

#include "notara/core/sources/Source.h"

namespace notara {

/// A Notebook HTML page a Kindle reading app exported for one book. The page names no device,
/// so the source is the book's notebook, wherever the file lies.
class KindleNotebookSource : public Source {
public:
    SourceKind kind() const override { return SourceKind::KindleNotebook; }
    SourceRead read(const std::filesystem::path& place) const override;

    /// The read of a notebook the window's own parser has just read from `place`.
    static SourceRead describe(std::vector<WorkPtr> works, const std::filesystem::path& place);

    /// Keys for works read from a Kindle's files (a notebook or My Clippings.txt): one highlight
    /// has the same key in both, so the library keeps it once.
    static void assignKindleKeys(std::vector<WorkPtr>& works);
};

} // namespace notara
