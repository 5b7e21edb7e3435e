#include "notara/core/sources/JsonAnnotations.h"

#include "notara/core/sources/books/EpubCfi.h"

#include <map>

namespace notara {

std::string JsonAnnotations::text(const QJsonValue& value) {
    return value.isString() ? value.toString().trimmed().toStdString() : std::string();
}

DateText JsonAnnotations::date(const QJsonValue& value) {
    const std::string text = value.toString().toStdString();
    if (text.size() < 19 || text[4] != '-' || text[10] != 'T') return {};
    return DateText(text.substr(0, 19) + 'Z');
}

std::string JsonAnnotations::colour(std::string_view name) {
    static const std::map<std::string_view, std::string_view> names{{"yellow", "yellow"},
                                                                    {"orange", "orange"},
                                                                    {"red", "pink"},
                                                                    {"pink", "pink"},
                                                                    {"magenta", "purple"},
                                                                    {"purple", "purple"},
                                                                    {"aqua", "blue"},
                                                                    {"blue", "blue"},
                                                                    {"lime", "green"},
                                                                    {"green", "green"},
                                                                    {"underline", "underline"},
                                                                    {"squiggly", "underline"},
                                                                    {"strikethrough", "underline"},
                                                                    {"wavy", "underline"},
                                                                    {"strikeout", "underline"}};
    const auto found = names.find(name);
    return found != names.end() ? std::string(found->second) : std::string();
}

std::string JsonAnnotations::cfiKey(std::string_view cfi) {
    const auto parsed = EpubCfi::parse(cfi);
    return parsed ? parsed->sortKey() : std::string();
}

} // namespace notara
