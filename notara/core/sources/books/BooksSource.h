#pragma once

#include "notara/core/sources/Source.h"

#include <optional>

namespace notara {

class DataManager;

/// An Apple Books data folder copied from a Mac, read from working copies as the window reads
/// it. The source is recognised by the stores' own ids.
class BooksSource : public Source {
public:
    SourceKind kind() const override { return SourceKind::Books; }
    SourceRead read(const std::filesystem::path& place) const override;

    /// The read of what `model` has just loaded from `place`, for a load the window made itself.
    static SourceRead describe(const DataManager& model, const std::filesystem::path& place);

    /// The stores' ids and the hash of their files (with their -wal files), without loading
    /// them, with the read's warning when a store in WAL mode lacks its -wal file; nothing
    /// when the stores are missing.
    static std::optional<SourceProbe> probe(const std::filesystem::path& place);
};

} // namespace notara
