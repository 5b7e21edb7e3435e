#pragma once

#include "notara/core/model/Work.h"

#include <string>
#include <vector>

namespace notara {

/// Highlights as rows for other tools: a CSV file (RFC 4180, UTF-8, a header row) and an Anki
/// import file (tab-separated, with Anki's header lines; front = passage, back = title, author,
/// place and note).
class TableExport {
public:
    TableExport() = delete;

    /// One row per annotation: title, author, passage, note, chapter, page, location, colour,
    /// created, tags, sources.
    static std::string csv(const std::vector<WorkPtr>& works);
    static std::string anki(const std::vector<WorkPtr>& works);
};

} // namespace notara
