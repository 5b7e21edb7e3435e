#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "notara/core/model/Work.h"

namespace notara {

// Turns the Notebook HTML page that a Kindle reading app exports for one book into a Work whose
// annotations are the page's highlights, each with the note the reader attached to it.
//
// Understands the three layouts the apps write (desktop pages with crossed </div> and </h3> end
// tags, and the two mobile layouts), localised headings, bookmarks and passages the publisher
// withheld. Keeps nothing between calls.
class KindleNotesParser {
public:
    // The export to read; absent until the caller sets it.
    std::optional<std::filesystem::path> fileURL;

    // Empty, or one Work. Never throws: a failure prints one line on standard output and gives
    // the empty list. A page without a book title also gives the empty list. When the list is
    // empty, `problem` (if given) says why in a sentence for the user.
    std::vector<std::shared_ptr<Work>> parseWorks(std::string* problem = nullptr) const;
};

} // namespace notara
