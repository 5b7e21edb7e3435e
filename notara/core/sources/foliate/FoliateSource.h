#pragma once

#include "notara/core/sources/Source.h"

namespace notara {

/// Foliate's data folder: one JSON file per book with its annotations (EPUB CFI ranges, colour,
/// note, dates) and the book's metadata. Versions before 3 wrote no dates.
class FoliateSource : public Source {
public:
    SourceKind kind() const override { return SourceKind::Foliate; }
    SourceRead read(const std::filesystem::path& place) const override;
};

} // namespace notara
