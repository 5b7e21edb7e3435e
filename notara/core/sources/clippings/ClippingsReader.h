#pragma once

#include "notara/core/model/Work.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace notara {

/// Reads a Kindle e-reader's "My Clippings.txt": one Work per book (title and author as the
/// file writes them), highlights with the notes that belong to them by location, bookmarks
/// skipped, a highlight the device wrote again when it was extended kept once (the latest),
/// the clipping-limit marker kept as the passage so the reader sees the text was withheld.
/// Accepts BOMs anywhere and CRLF; invalid UTF-8 is replaced, never fatal.
class ClippingsReader {
public:
    ClippingsReader() = delete;

    /// The works of `text` (the file's bytes), sorted by title.
    static std::vector<WorkPtr> read(std::string_view text);

    /// The works of the file at `path`, sorted by title. Empty, with a sentence saying why in
    /// `problem`, when it cannot be read, is empty, is not UTF-8 text (UTF-16 with its
    /// byte-order mark is converted) or holds no highlight or note.
    static std::vector<WorkPtr> readFile(const std::filesystem::path& path, std::string& problem);

private:
    // `read` once the text is known to be valid UTF-8.
    static std::vector<WorkPtr> readValid(std::string_view text);
};

} // namespace notara
