#pragma once

#include "notara/core/model/Annotation.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace notara {

struct SourceRead;

/// The identities and fingerprints the sources share.
class SourceKeys {
public:
    SourceKeys() = delete;

    /// The folded title and author: the same work read from two sources has the same one.
    static std::string workMatchKey(std::string_view title, std::string_view author);

    /// The key of an annotation with no id of its own, from its work's match key, its kind, its
    /// location (or page) and its passage (or, for a lone note, the note), spaces collapsed:
    /// the same highlight in a Kindle notebook and in My Clippings.txt has the same key.
    static std::string passageKey(std::string_view prefix, std::string_view workMatchKey,
                                  const Annotation& annotation);

    /// The hash of what a reader can see change in an annotation: passage, note, colour, place.
    static std::uint64_t contentHash(const Annotation& annotation);

    /// Fills read.fingerprint from every work and annotation of read.works.
    static void fingerprint(SourceRead& read);

    /// Gives annotations that would share a key (the same passage highlighted twice at one place)
    /// distinct keys, in their order.
    static void makeUnique(std::vector<AnnotationPtr>& annotations);
    /// The same over every annotation of a read.
    static void makeUnique(SourceRead& read);
};

} // namespace notara
