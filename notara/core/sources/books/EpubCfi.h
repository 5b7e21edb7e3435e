#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace notara {

/// An EPUB Canonical Fragment Identifier ("epubcfi(/6/24[ch]!/4/2,/1:0,/7:257)"), the place of a
/// Books highlight in its book. Parsing is strict (anything the grammar does not allow is not a
/// CFI) and never reads past the text; assertions in brackets are checked and then dropped, as
/// they never change a position.
class EpubCfi {
public:
    /// One end of a location: the path steps from the package root (an indirection "!" is a step
    /// boundary like "/") and the offset that ends it, if any.
    struct Point {
        std::vector<std::uint64_t> steps;
        std::optional<std::uint64_t> characterOffset;
        std::optional<double> temporalOffset;
        /// x, y
        std::optional<std::pair<double, double>> spatialOffset;

        bool operator==(const Point&) const = default;
    };

    /// Absent when `text` is not a CFI.
    static std::optional<EpubCfi> parse(std::string_view text);

    /// Reading order: negative when `a` comes before `b`, 0 when they name the same place.
    /// Start points first (step by step, an ancestor before its descendants, then the offsets:
    /// character, temporal, spatial by y then x, a missing one counting as 0), then the ends.
    static int compare(const EpubCfi& a, const EpubCfi& b);

    /// A key whose lexicographic order is exactly compare's order, so a list of annotations
    /// can be sorted without keeping the parsed CFIs (one byte per step or offset below 127).
    std::string sortKey() const;

    /// parse into an existing object, reusing its memory: for reading many rows.
    static bool parseInto(std::string_view text, EpubCfi& cfi);

    bool isRange() const { return range_; }
    const Point& start() const { return start_; }
    /// The range's end; the start for a point.
    const Point& end() const { return range_ ? end_ : start_; }

private:
    Point start_;
    Point end_;
    bool range_ = false;
};

} // namespace notara
