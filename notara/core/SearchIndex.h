#pragma once

#include "notara/core/Work.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace notara {

/// Finds annotations by what they say: the passage, the note, the chapter, and the work's title
/// and author. Every text is folded once when the index is built (TextFolder), so a query
/// costs a scan of the folded text and no folding of the library. Matching is by substring,
/// so Chinese and Japanese need no word breaks. Words of a query must all occur, in any order,
/// in one annotation or its work's title and author; "a quoted phrase" must occur as written.
class SearchIndex {
public:
    struct Result {
        WorkPtr work;
        /// The work's matching annotations, in the work's order.
        std::vector<AnnotationPtr> annotations;
    };

    /// Folds every text of `works` (replacing what was indexed before).
    void build(const std::vector<WorkPtr>& works);

    /// The works with a match, in the order they were given, each with its matching
    /// annotations (all of them, none for an empty work, when the title and author hold every
    /// word). A query of nothing but spaces matches nothing.
    std::vector<Result> search(std::string_view query) const;

    /// The folded terms of a query: its words, and each quoted phrase as one term.
    static std::vector<std::string> terms(std::string_view query);

    /// Where the terms of `query` occur in `text` (byte ranges of `text`, sorted, merged).
    static std::vector<std::pair<std::uint32_t, std::uint32_t>> matchRanges(std::string_view text,
                                                                            std::string_view query);

    /// Bytes the index holds besides the library itself.
    std::size_t memoryBytes() const;

private:
    struct Entry {
        std::uint32_t begin; // in text_
        std::uint32_t work;  // in works_
        const AnnotationPtr* annotation;
    };

    std::vector<WorkPtr> works_;
    std::string workText_;                  // per work: folded title, separator, folded author
    std::vector<std::uint32_t> workBegins_; // one more than works_
    std::string text_;                      // per annotation: passage, note, chapter, folded
    std::vector<Entry> entries_;            // in text_ order
};

} // namespace notara
