#pragma once

#include "notara/core/sources/Source.h"

namespace notara {

/// A Kindle e-reader's My Clippings.txt. The device only ever appends to it, so its first
/// clipping tells one device's file from another's, wherever a copy lies.
class ClippingsSource : public Source {
public:
    SourceKind kind() const override { return SourceKind::Clippings; }
    SourceRead read(const std::filesystem::path& place) const override;
};

} // namespace notara
