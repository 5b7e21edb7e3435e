#pragma once

#include "notara/core/model/Work.h"
#include "notara/core/sources/SourceKind.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace notara {

/// What one read of a source gave: its works, each work and annotation with its stable key,
/// and the source's own identity, recognised by what the file holds rather than where it lies.
struct SourceRead {
    SourceKind kind = SourceKind::Books;
    /// Works in the source's order; every work has its workKey and workSource, every
    /// annotation its key (Annotation::key()).
    std::vector<WorkPtr> works;
    /// The library or device the file comes from, the same for a copy moved elsewhere.
    std::string key;
    /// A short name for people: "Apple Books", "Kobo", "Kindle notebook: <title>".
    std::string name;
    /// Where it was read from, as given.
    std::filesystem::path place;
    /// A hash of everything the works hold: equal fingerprints, nothing changed.
    std::uint64_t fingerprint = 0;
    /// The probe's hash of the files read (SourceProbe), set by whoever probed before reading;
    /// 0 otherwise. Kept by the library, so that an unchanged source need not be read again.
    std::uint64_t filesFingerprint = 0;
    /// Why nothing could be read, as a sentence; empty when the read worked.
    std::string problem;
    /// For Books: the stores were not found; `problem` is then the window's alert text.
    bool storesMissing = false;
    /// Things the reader should know though the read worked ("recent highlights may be missing").
    std::vector<std::string> warnings;

    bool ok() const { return problem.empty(); }
};

/// What a source is, found without reading it: its identity and the hash of its files' bytes.
struct SourceProbe {
    std::string key;
    std::uint64_t filesFingerprint = 0;
    /// What a read would warn about, to be said all the same.
    std::vector<std::string> warnings;
};

/// One kind of reader's store. Implementations only read what they are given: the user's
/// files are never written, databases are read from private copies.
class Source {
public:
    virtual ~Source() = default;
    virtual SourceKind kind() const = 0;
    virtual SourceRead read(const std::filesystem::path& place) const = 0;
};

} // namespace notara
