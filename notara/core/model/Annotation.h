#pragma once

#include "notara/core/model/AnnotationInLibrary.h"
#include "notara/core/model/AnnotationPosition.h"
#include "notara/core/model/DateText.h"
#include "notara/core/model/SharedConst.h"
#include "notara/core/sqlite/SQLRow.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace notara {

/// One highlight with the note attached to it, or a note standing alone, with its place in the
/// book as far as the source tells. Identity is the object itself (compare pointers), not
/// `annotationID`. Missing or NULL values are empty texts.
class Annotation {
public:
    enum class Kind : std::uint8_t { Highlight, Note };

    Annotation() = default;

    /// Fills the fields from the columns ZANNOTATIONUUID, ZANNOTATIONNOTE,
    /// ZANNOTATIONREPRESENTATIVETEXT, ZANNOTATIONSELECTEDTEXT and ZANNOTATIONLOCATION
    /// (exact, case-sensitive names); other entries are ignored.
    explicit Annotation(const SQLRow& row);

    /// An annotation of a source other than Books: the passage is both the selected and the
    /// representative text. An empty passage with a note makes a lone note.
    Annotation(std::string id, std::string passage, std::string note);

    /// A location number as kept in `annotationLocation`: one beyond what a location can be (a
    /// damaged or hostile file) is held at the largest, negative ones at 0.
    static std::optional<std::int32_t> locationNumber(std::optional<std::int64_t> number);

    /// "highlight" or "note", the form the command line's JSON uses.
    static std::string_view kindName(Kind kind);

    /// How the key is held: spelled out in `annotationKey`, or, for sources whose ids are
    /// already unique, as the source's prefix before `annotationID` ("books:<uuid>",
    /// "kobo:<id>"), which spares a second copy of every id.
    enum class KeyForm : std::uint8_t { Spelled, Books, Kobo };
    static std::string_view keyPrefix(KeyForm form);

    /// The annotation's identity across re-reads and across sources of the same kind of
    /// reader (a Kindle highlight has one key in a notebook and in My Clippings.txt).
    std::string key() const;
    /// Calls `use` with the key as a view, without a copy for the usual lengths.
    template <class Use> decltype(auto) withKey(Use&& use) const {
        if (annotationKeyForm == KeyForm::Spelled) return use(std::string_view(annotationKey));
        const std::string_view prefix = keyPrefix(annotationKeyForm);
        char buffer[128];
        if (prefix.size() + annotationID.size() <= sizeof buffer) {
            prefix.copy(buffer, prefix.size());
            annotationID.copy(buffer + prefix.size(), annotationID.size());
            return use(std::string_view(buffer, prefix.size() + annotationID.size()));
        }
        const std::string spelled = key();
        return use(std::string_view(spelled));
    }

    std::string annotationID;
    /// The reader's note; empty when there is none. The Kindle parser sets it after
    /// construction.
    std::string annotationUserNotes;
    std::string annotationRepText;
    std::string annotationSelectedText;
    /// The location exactly as stored (an EPUB CFI for Books), not parsed.
    std::string annotationLocationRawText;

    /// "yellow", "blue", "pink", "orange", "green", "purple", "underline" or empty.
    std::string annotationColor;
    /// The chapter or section the source names, whitespace-collapsed; empty when unknown.
    std::string annotationChapter;
    /// The printed page label ("77", "xii"); empty when unknown.
    std::string annotationPage;
    /// The key when `annotationKeyForm` is Spelled, else empty; set by the source that read it.
    /// Read it through key() or withKey().
    std::string annotationKey;
    /// What the library knows beside the source's data; null outside the library, so that a
    /// plain load carries one pointer for it.
    SharedConst<AnnotationInLibrary> annotationLibrary;
    /// Sort keys for book order, computed by the loader.
    AnnotationPosition annotationPosition;
    /// UTC, "2021-11-01T09:24:45Z"; empty when unknown.
    DateText annotationCreated;
    DateText annotationModified;
    /// A note with no passage is a Note; everything else a Highlight.
    Kind annotationKind = Kind::Highlight;
    KeyForm annotationKeyForm = KeyForm::Spelled;
    /// The Kindle location number (a book has some hundred thousand at most).
    std::optional<std::int32_t> annotationLocation;
};

using AnnotationPtr = std::shared_ptr<Annotation>;

} // namespace notara
