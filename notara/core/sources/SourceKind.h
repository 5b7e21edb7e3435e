#pragma once

#include <cstdint>
#include <string_view>

namespace notara {

/// The kinds of source Notara reads. Sources (Sources.cpp) is the one place that lists them with
/// their names and readers; a new kind is added there.
enum class SourceKind : std::uint8_t { Books, KindleNotebook, Clippings, Kobo, Koreader, Foliate, Calibre };

} // namespace notara
