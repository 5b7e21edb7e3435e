#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace notara {

/// The place an entry heading of a Kindle Notebook export names, in the app's language:
/// "Highlight (yellow) - 6. LOOK > Page 77 · Location 805", "Markierung (gelb) - Seite 5 ·
/// Position 590", "ハイライト(ピンク) - ページ12 · 位置No. 180".
struct KindleHeading {
    /// The section path between the first " - " and the last " > "; empty when there is none.
    std::string chapter;
    /// The page label as printed ("77", "xii"); empty when the heading has no page.
    std::string page;
    /// The last number of the part naming the location.
    std::optional<std::int64_t> location;

    /// Reads `text`, a heading whose ASCII white-space runs are already one space each.
    static KindleHeading parse(std::string_view text);

    /// `text` with runs of ASCII white space (space, tab, CR, LF, FF) collapsed to one space and
    /// trimmed; other spaces (U+00A0, U+3000) are kept.
    static std::string collapseAsciiSpace(std::string_view text);
};

} // namespace notara
