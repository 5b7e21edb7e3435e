#pragma once

#include "notara/core/DateText.h"

#include <string_view>

namespace notara {

/// The date a Kindle writes at the end of a clipping's metadata line ("Added on Tuesday,
/// March 4, 2025 9:12:40 PM", "Hinzugefügt am Freitag, 19. Dezember 2014 08:52:50",
/// "作成日: 2021年11月13日土曜日 12:54:43", ...), in any of the languages and firmware forms
/// the device uses. The device writes its own local time without a zone; it is taken as this
/// computer's local time, the zone the reader most likely set, and turned into UTC.
class ClippingsDate {
public:
    ClippingsDate() = delete;

    /// Empty when no date can be read from `field`; the record is kept either way.
    static DateText parse(std::string_view field);
};

} // namespace notara
