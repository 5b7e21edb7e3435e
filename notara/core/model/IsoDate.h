#pragma once

#include "notara/core/model/DateText.h"

#include <cstdint>
#include <string>

namespace notara {

/// Dates as the sources store them, turned into UTC ISO 8601 text with seconds
/// ("2021-11-01T09:24:45Z"), the one form every annotation date takes.
class IsoDate {
public:
    IsoDate() = delete;

    /// Seconds since 1970-01-01T00:00:00Z; the fraction is dropped. Empty for a moment
    /// outside the years 1 to 9999.
    static DateText fromUnixSeconds(double seconds);

    /// Seconds since 2001-01-01T00:00:00Z, Core Data's reference date (Apple Books).
    static DateText fromReferenceSeconds(double seconds);

    static constexpr double referenceDateUnixSeconds = 978307200.0;

    /// Today's local calendar date, "2026-12-08" (the calendar year, unlike file-name dates).
    static std::string today();
};

} // namespace notara
