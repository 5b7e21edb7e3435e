#include "notara/core/IsoDate.h"

#include <QDate>

#include <cmath>
#include <cstdio>
#include <ctime>

namespace notara {

std::string IsoDate::fromUnixSeconds(double seconds) {
    // Years 1 to 9999, so the text always has its fixed width.
    if (!std::isfinite(seconds) || seconds < -62135596800.0 || seconds >= 253402300800.0) return {};
    const auto whole = static_cast<std::time_t>(std::floor(seconds));
    std::tm utc{};
    if (gmtime_r(&whole, &utc) == nullptr) return {};
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

std::string IsoDate::today() {
    return QDate::currentDate().toString(Qt::ISODate).toStdString();
}

std::string IsoDate::fromReferenceSeconds(double seconds) {
    return fromUnixSeconds(seconds + referenceDateUnixSeconds);
}

} // namespace notara
