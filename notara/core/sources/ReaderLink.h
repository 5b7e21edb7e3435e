#pragma once

#include "notara/core/model/Work.h"

#include <optional>
#include <string>

namespace notara {

/// Where "Open in Reader" goes for an annotation: the reader's own link at the highlight (calibre's
/// `calibre://view-book/…?open_at=` for a library book) when `readerAvailable`, else the book's
/// file; nothing when the source names no book or the file is not there.
class ReaderLink {
public:
    ReaderLink() = delete;

    static std::optional<std::string> url(const Work& work, const Annotation& annotation,
                                          bool readerAvailable);
    /// The URL scheme of a reader's link ("calibre"), empty for a plain file.
    static std::string scheme(const Work& work);
};

} // namespace notara
