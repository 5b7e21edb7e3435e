#pragma once

#include "notara/core/model/DateText.h"

#include <QJsonValue>

#include <string>
#include <string_view>

namespace notara {

/// What the readers that write JSON (Foliate, calibre) share: their texts, dates and colours in
/// the model's forms.
class JsonAnnotations {
public:
    JsonAnnotations() = delete;

    static std::string text(const QJsonValue& value);
    /// "2024-05-02T18:04:11.532Z" (or "+00:00") as "2024-05-02T18:04:11Z"; empty otherwise.
    static DateText date(const QJsonValue& value);
    /// A reader's colour or decoration name as one of the model's ("yellow", "underline", …).
    static std::string colour(std::string_view name);
    /// The sort key of an EPUB CFI, empty when it is none.
    static std::string cfiKey(std::string_view cfi);
};

} // namespace notara
