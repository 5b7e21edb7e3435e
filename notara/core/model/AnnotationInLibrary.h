#pragma once

#include "notara/core/model/DateText.h"

#include <string>
#include <vector>

namespace notara {

/// An annotation's state in the reader's library: where it was kept from, whether its sources
/// still list it, and the reader's own marks, which survive re-imports and removals.
struct AnnotationInLibrary {
    /// The library's row id, for the marks to be changed.
    long long rowID = 0;
    /// The names of the sources that listed it.
    std::vector<std::string> sources;
    /// When the last of its sources stopped listing it; empty while one still does.
    DateText removedAtSource;
    bool favourite = false;
    /// Sorted, each once.
    std::vector<std::string> tags;
    /// The first time a source listed it.
    DateText firstSeen;
    /// The last time a source listed it.
    DateText lastSeen;
};

} // namespace notara
