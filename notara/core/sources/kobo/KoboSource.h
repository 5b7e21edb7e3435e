#pragma once

#include "notara/core/sources/Source.h"

namespace notara {

/// A Kobo e-reader's KoboReader.sqlite, read from a private copy. The device is recognised by
/// its first annotation's id, which no other device has and which it keeps (deleted
/// annotations stay in the database, hidden).
class KoboSource : public Source {
public:
    SourceKind kind() const override { return SourceKind::Kobo; }
    SourceRead read(const std::filesystem::path& place) const override;
};

} // namespace notara
