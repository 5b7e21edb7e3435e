#pragma once

#include "notara/core/model/DateText.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>

namespace notara {

/// The date a Kindle writes at the end of a clipping's metadata line ("Added on Tuesday,
/// March 4, 2025 9:12:40 PM", "Hinzugefügt am Freitag, 19. Dezember 2014 08:52:50",
/// "作成日: 2021年11月13日土曜日 12:54:43", ...), in any of the languages and firmware forms
/// the device uses. The device writes its own local time without a zone; it is taken as this
/// computer's local time, the zone the reader most likely set, and turned into UTC.
class ClippingsDate {
public:
    /// Empty when no date can be read from `field`; the record is kept either way.
    DateText parse(std::string_view field);

private:
    // The zone's offset by local hour: asking the C library for each date costs it a look at
    // the zone file, and one file's dates fall in far fewer hours than it has records. Kept
    // for one file only, so a change of zone takes effect on the next.
    std::unordered_map<std::int64_t, std::int64_t> offsets_;
};

} // namespace notara
