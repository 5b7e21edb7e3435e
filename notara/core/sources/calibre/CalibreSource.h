#pragma once

#include "notara/core/sources/Source.h"

namespace notara {

/// calibre: a library folder (its metadata.db, read from a private copy, table `annotations`,
/// with the books' titles and authors) or the E-book viewer's folder of annotation files for
/// books outside a library. Removed highlights (tombstones) are skipped.
class CalibreSource : public Source {
public:
    SourceKind kind() const override { return SourceKind::Calibre; }
    SourceRead read(const std::filesystem::path& place) const override;
};

} // namespace notara
