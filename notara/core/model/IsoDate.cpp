#include "notara/core/model/IsoDate.h"

#include <QDate>

#include <chrono>
#include <cmath>

namespace notara {

namespace {

void appendDigits(std::string& text, long value, int width) {
    char digits[8];
    for (int i = width - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    text.append(digits, static_cast<size_t>(width));
}

} // namespace

DateText IsoDate::fromUnixSeconds(double value) {
    // Years 1 to 9999, so the text always has its fixed width.
    if (!std::isfinite(value) || value < -62135596800.0 || value >= 253402300800.0) return {};
    using namespace std::chrono;
    const sys_seconds moment{std::chrono::seconds(static_cast<std::int64_t>(std::floor(value)))};
    const sys_days day = floor<days>(moment);
    const year_month_day date{day};
    const hh_mm_ss<std::chrono::seconds> time{moment - day};
    std::string text; // fits the small-string buffer's neighbour: one allocation-free pass
    text.reserve(DateText::capacity);
    appendDigits(text, static_cast<int>(date.year()), 4);
    text += '-';
    appendDigits(text, static_cast<long>(static_cast<unsigned>(date.month())), 2);
    text += '-';
    appendDigits(text, static_cast<long>(static_cast<unsigned>(date.day())), 2);
    text += 'T';
    appendDigits(text, time.hours().count(), 2);
    text += ':';
    appendDigits(text, time.minutes().count(), 2);
    text += ':';
    appendDigits(text, static_cast<long>(time.seconds().count()), 2);
    text += 'Z';
    return DateText(text);
}

std::string IsoDate::today() {
    return QDate::currentDate().toString(Qt::ISODate).toStdString();
}

DateText IsoDate::fromReferenceSeconds(double seconds) {
    return fromUnixSeconds(seconds + referenceDateUnixSeconds);
}

} // namespace notara
