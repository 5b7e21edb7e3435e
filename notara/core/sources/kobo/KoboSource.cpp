#include "notara/core/sources/kobo/KoboSource.h"

#include "notara/core/sources/SourceKeys.h"
#include "notara/core/sources/kobo/KoboReader.h"
#include "notara/core/sqlite/SQLiteManager.h"

namespace notara {

SourceRead KoboSource::read(const std::filesystem::path& place) const {
    SourceRead read;
    read.kind = kind();
    read.place = place;
    read.name = "Kobo";
    const std::filesystem::path folder = KoboReader::workingFolder();
    read.works = KoboReader::readFile(place, folder, read.problem);
    if (read.works.empty()) {
        if (read.problem.empty()) read.problem = "It holds no highlight or note.";
        return read;
    }
    for (const WorkPtr& work : read.works)
        for (const AnnotationPtr& annotation : work->annotations)
            annotation->annotationKeyForm = Annotation::KeyForm::Kobo;
    if (const auto db = SQLiteManager::open(SQLiteManager::fileURI(folder / "KoboReader.sqlite"))) {
        db->forEachRow("SELECT BookmarkID FROM Bookmark ORDER BY DateCreated, BookmarkID LIMIT 1", {},
                       [&](const SQLiteManager::Cursor& row) { read.key = "kobo:" + row.text(0); });
    }
    if (read.key.empty()) read.key = "kobo";
    SourceKeys::fingerprint(read);
    return read;
}

} // namespace notara
