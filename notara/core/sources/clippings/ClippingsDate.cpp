#include "notara/core/sources/clippings/ClippingsDate.h"

#include "notara/core/model/IsoDate.h"

#include "html/nodes/StringUtil.h"

#include <array>
#include <chrono>
#include <ctime>
#include <optional>
#include <unordered_map>
#include <vector>

namespace notara {

namespace {

// Month names as the device's languages write them in a date (Russian in the genitive);
// compared after ASCII lower-casing, whole words only.
constexpr std::array<std::array<std::string_view, 12>, 8> monthNames{{
    {"january", "february", "march", "april", "may", "june", "july", "august", "september", "october",
     "november", "december"},
    {"januar", "februar", "märz", "april", "mai", "juni", "juli", "august", "september", "oktober",
     "november", "dezember"},
    {"janvier", "février", "mars", "avril", "mai", "juin", "juillet", "août", "septembre", "octobre",
     "novembre", "décembre"},
    {"enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto", "septiembre", "octubre",
     "noviembre", "diciembre"},
    {"gennaio", "febbraio", "marzo", "aprile", "maggio", "giugno", "luglio", "agosto", "settembre", "ottobre",
     "novembre", "dicembre"},
    {"janeiro", "fevereiro", "março", "abril", "maio", "junho", "julho", "agosto", "setembro", "outubro",
     "novembro", "dezembro"},
    {"januari", "februari", "maart", "april", "mei", "juni", "juli", "augustus", "september", "oktober",
     "november", "december"},
    {"января", "февраля", "марта", "апреля", "мая", "июня", "июля", "августа", "сентября", "октября",
     "ноября", "декабря"},
}};

std::optional<int> monthOf(std::string_view word) {
    static const std::unordered_map<std::string_view, int> months = [] {
        std::unordered_map<std::string_view, int> names{{"setiembre", 9}, {"jänner", 1}};
        for (const auto& language : monthNames) {
            for (size_t i = 0; i < language.size(); ++i)
                names.emplace(language[i], static_cast<int>(i) + 1);
        }
        return names;
    }();
    const auto month = months.find(word);
    return month != months.end() ? std::optional<int>(month->second) : std::nullopt;
}

struct Number {
    int value = 0;
    size_t digits = 0;
    size_t end = 0; // the byte after it
};

std::optional<Number> numberAt(std::string_view text, size_t at) {
    Number number;
    size_t i = at;
    for (; i < text.size() && html::StringUtil::isAsciiDigit(text[i]); ++i) {
        if (number.value < 100000) number.value = number.value * 10 + (text[i] - '0');
    }
    if (i == at) return std::nullopt;
    number.digits = i - at;
    number.end = i;
    return number;
}

// A word ends at ASCII white space, digits or punctuation; other bytes (letters of any script)
// belong to it.
bool isWordByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int daysIn(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

} // namespace

DateText ClippingsDate::parse(std::string_view field) {
    const std::string lower = html::StringUtil::lowerCaseAscii(field);
    std::optional<int> year, month, day, hour, minute;
    int second = 0;
    bool pm = false, am = false;
    std::vector<Number> dateNumbers; // numbers before the time that no CJK unit names
    bool timeSeen = false;
    size_t i = 0;
    while (i < lower.size()) {
        if (html::StringUtil::isAsciiDigit(lower[i])) {
            Number number = *numberAt(lower, i);
            i = number.end;
            if (timeSeen) continue; // "GMT+00:59" after the time
            const std::string_view after = std::string_view(lower).substr(i);
            if (after.starts_with(':')) {
                const auto minutes = numberAt(lower, i + 1);
                if (!minutes) continue;
                hour = number.value;
                minute = minutes->value;
                i = minutes->end;
                if (i < lower.size() && lower[i] == ':') {
                    if (const auto seconds = numberAt(lower, i + 1)) {
                        second = seconds->value;
                        i = seconds->end;
                    }
                }
                timeSeen = true;
            } else if (after.starts_with("年")) {
                year = number.value;
            } else if (after.starts_with("月")) {
                month = number.value;
            } else if (after.starts_with("日")) {
                day = number.value;
            } else {
                dateNumbers.push_back(number);
            }
            continue;
        }
        if (isWordByte(lower[i])) {
            size_t end = i;
            while (end < lower.size() && isWordByte(lower[end]))
                ++end;
            const std::string_view word = std::string_view(lower).substr(i, end - i);
            // "9:12:40 PM", or the Chinese and Japanese halves of the day before the time.
            if (timeSeen ? word == "pm"
                         : html::StringUtil::containsAny(word, {"下午", "中午", "晚上", "午後"}))
                pm = true;
            if (timeSeen ? word == "am"
                         : html::StringUtil::containsAny(word, {"上午", "凌晨", "早上", "午前"}))
                am = true;
            if (!month && !timeSeen) month = monthOf(word);
            i = end;
            continue;
        }
        ++i;
    }
    // With a month name, the numbers before the time are the day and the year: the one of
    // four digits is the year ("March 4, 2025"), else the last ("3 December 12").
    if (!year || !day) {
        if (dateNumbers.size() != 2) return {};
        const bool firstIsYear = dateNumbers[0].digits == 4 && dateNumbers[1].digits <= 2;
        year = firstIsYear ? dateNumbers[0].value : dateNumbers[1].value;
        day = firstIsYear ? dateNumbers[1].value : dateNumbers[0].value;
        if (dateNumbers[firstIsYear ? 0 : 1].digits == 2)
            *year += 2000;
        else if (dateNumbers[firstIsYear ? 0 : 1].digits != 4)
            return {};
    }
    if (!month || !hour || !minute) return {};
    if (pm || am) {
        if (*hour < 1 || *hour > 12) return {};
        *hour = *hour % 12 + (pm ? 12 : 0);
    }
    if (*year < 1970 || *year > 9999 || *month < 1 || *month > 12 || *day < 1 ||
        *day > daysIn(*year, *month) || *hour > 23 || *minute > 59 || second > 59)
        return {};

    // Seconds of the local moment counted as if it were UTC, then the zone's offset.
    using namespace std::chrono;
    const auto date =
        sys_days(year_month_day(std::chrono::year(*year), std::chrono::month(static_cast<unsigned>(*month)),
                                std::chrono::day(static_cast<unsigned>(*day))));
    const std::int64_t localHour = duration_cast<hours>(date.time_since_epoch()).count() + *hour;
    auto offset = offsets_.find(localHour);
    if (offset == offsets_.end()) {
        std::tm local{};
        local.tm_year = *year - 1900;
        local.tm_mon = *month - 1;
        local.tm_mday = *day;
        local.tm_hour = *hour;
        local.tm_isdst = -1; // the zone's rules say whether summer time applied
        const std::time_t moment = std::mktime(&local);
        if (moment == static_cast<std::time_t>(-1)) return {};
        offset = offsets_.emplace(localHour, localHour * 3600 - static_cast<std::int64_t>(moment)).first;
    }
    return IsoDate::fromUnixSeconds(
        static_cast<double>(localHour * 3600 + *minute * 60 + second - offset->second));
}

} // namespace notara
