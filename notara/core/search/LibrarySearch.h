#pragma once

#include "notara/core/model/Work.h"

#include <string>
#include <string_view>
#include <vector>

namespace notara {

/// A search that also understands the reader's marks: `tag:NAME` (case ignored) and
/// `is:favourite` (or `is:favorite`) beside plain words, all of which must hold.
class LibrarySearch {
public:
    LibrarySearch() = delete;

    struct Query {
        /// The words and phrases for the text index.
        std::string text;
        /// Folded tag names the annotation must all carry.
        std::vector<std::string> tags;
        bool favourite = false;
        bool hasMarks() const { return favourite || !tags.empty(); }
    };

    static Query parse(std::string_view query);
    static bool matchesMarks(const Annotation& annotation, const Query& query);

    /// The works with a match, each a copy holding only its matching annotations, in order. A
    /// query of nothing but spaces matches nothing.
    static std::vector<WorkPtr> filter(const std::vector<WorkPtr>& works, std::string_view query);
};

} // namespace notara
