#pragma once

#include "notara/core/model/Work.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace notara {

/// Finds annotations by what they say: the passage, the note, the chapter, and the work's title
/// and author. Every text is folded once when the index is built (TextFolder) and cut into
/// tokens at ASCII spaces and punctuation; the index keeps each distinct token once with the
/// annotations holding it. A query term is then looked for in the tokens, not in the library,
/// and still by substring, so Chinese and Japanese need no word breaks (their runs are tokens). Words of a
/// query must all occur, in any order, in one annotation or its work's title and author; "a quoted phrase"
/// must occur as written.
class SearchIndex {
public:
    struct Result {
        WorkPtr work;
        /// The work's matching annotations, in the work's order; `work` keeps them alive. Plain
        /// pointers, because a query may match most of a large library and copying a shared
        /// pointer touches the annotation's memory; they lie in the Matches that holds this.
        std::span<const Annotation* const> annotations;
    };

    /// The works with a match, each with its part of one list of annotations: a query may
    /// match thousands of works, and a list each would cost more than the search. Move-only,
    /// since the results point into the list.
    struct Matches {
        std::vector<Result> results;
        std::vector<const Annotation*> annotations;

        Matches() = default;
        Matches(Matches&&) = default;
        Matches& operator=(Matches&&) = default;
        Matches(const Matches&) = delete;
        Matches& operator=(const Matches&) = delete;

        auto begin() const { return results.begin(); }
        auto end() const { return results.end(); }
        std::size_t size() const { return results.size(); }
        bool empty() const { return results.empty(); }
        const Result& operator[](std::size_t i) const { return results[i]; }
    };

    /// Folds every text of `works` (replacing what was indexed before).
    void build(const std::vector<WorkPtr>& works);

    /// The works with a match, in the order they were given, each with its matching
    /// annotations (all of them, none for an empty work, when the title and author hold every
    /// word). A query of nothing but spaces matches nothing.
    Matches search(std::string_view query) const;

    /// The folded terms of a query: its words, and each quoted phrase as one term.
    static std::vector<std::string> terms(std::string_view query);

    /// Where the terms of `query` occur in `text` (byte ranges of `text`, sorted, merged).
    static std::vector<std::pair<std::uint32_t, std::uint32_t>> matchRanges(std::string_view text,
                                                                            std::string_view query);

    /// Bytes the index holds besides the library itself.
    std::size_t memoryBytes() const;

private:
    struct Entry {
        std::uint32_t work; // in works_
        const Annotation* annotation;
    };

    // Marks stamp[i] = mark for every annotation whose text holds `piece`, a folded text
    // without separators: it then lies inside one token of the dictionary.
    void markHolders(std::string_view piece, std::vector<std::uint32_t>& stamp, std::uint32_t mark) const;

    std::vector<WorkPtr> works_;
    std::string workText_;                  // per work: folded title, separator, folded author
    std::vector<std::uint32_t> workBegins_; // one more than works_
    std::vector<Entry> entries_;            // one per annotation, in works order
    // Every distinct folded token (a run between ASCII spaces and punctuation) once, each
    // followed by a separator, and for each the annotations that hold it, ascending.
    std::string dictionary_;
    std::vector<std::uint32_t> tokenBegins_;   // one more than tokens
    std::vector<std::uint32_t> postingBegins_; // one more than tokens
    std::vector<std::uint32_t> postings_;
};

} // namespace notara
