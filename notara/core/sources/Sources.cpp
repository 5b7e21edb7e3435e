#include "notara/core/sources/Sources.h"

#include "notara/core/sources/books/BooksSource.h"
#include "notara/core/sources/calibre/CalibreSource.h"
#include "notara/core/sources/clippings/ClippingsSource.h"
#include "notara/core/sources/foliate/FoliateSource.h"
#include "notara/core/sources/kindle/KindleNotebookSource.h"
#include "notara/core/sources/kobo/KoboSource.h"
#include "notara/core/sources/koreader/KoreaderSource.h"

#include <array>

namespace notara {

namespace {

constexpr std::array<Sources::Kind, 7> known{{
    {SourceKind::Books, "books", "Apple Books", true},
    {SourceKind::KindleNotebook, "kindle", "Kindle notebook", false},
    {SourceKind::Clippings, "clippings", "My Clippings.txt", false},
    {SourceKind::Kobo, "kobo", "Kobo", false},
    {SourceKind::Koreader, "koreader", "KOReader", true},
    {SourceKind::Foliate, "foliate", "Foliate", true},
    {SourceKind::Calibre, "calibre", "calibre", true},
}};

} // namespace

std::span<const Sources::Kind> Sources::kinds() {
    return known;
}

const Sources::Kind& Sources::of(SourceKind kind) {
    for (const Kind& k : known)
        if (k.kind == kind) return k;
    return known.front();
}

std::optional<SourceKind> Sources::byName(std::string_view name) {
    for (const Kind& k : known)
        if (k.name == name) return k.kind;
    return std::nullopt;
}

std::unique_ptr<Source> Sources::make(SourceKind kind) {
    switch (kind) {
    case SourceKind::Books: return std::make_unique<BooksSource>();
    case SourceKind::KindleNotebook: return std::make_unique<KindleNotebookSource>();
    case SourceKind::Clippings: return std::make_unique<ClippingsSource>();
    case SourceKind::Kobo: return std::make_unique<KoboSource>();
    case SourceKind::Koreader: return std::make_unique<KoreaderSource>();
    case SourceKind::Foliate: return std::make_unique<FoliateSource>();
    case SourceKind::Calibre: return std::make_unique<CalibreSource>();
    }
    return nullptr;
}

SourceRead Sources::read(SourceKind kind, const std::filesystem::path& place) {
    return make(kind)->read(place);
}

std::optional<SourceProbe> Sources::probe(SourceKind kind, const std::filesystem::path& place) {
    if (kind == SourceKind::Books) return BooksSource::probe(place);
    return std::nullopt;
}

} // namespace notara
