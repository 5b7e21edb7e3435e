#pragma once

#include "notara/core/model/Annotation.h"
#include "notara/core/sqlite/SQLRow.h"

#include <QUuid>

#include <memory>
#include <string>
#include <vector>

namespace notara {

/// A book with its annotations. Works are shared by reference (WorkPtr): the same object
/// sits in DataManager::works(), in filteredWorks() and in a view's selection, so
/// annotations appended later are seen through all of them. No value equality: every
/// construction makes a new `id`.
class Work {
public:
    /// Fills the fields from the library columns ZASSETID, ZSORTTITLE, ZSORTAUTHOR and
    /// ZDOWNLOADEDDSID (exact names); other entries are ignored.
    explicit Work(const SQLRow& libraryRow);

    /// A work that does not come from the Books library (a Kindle notebook): `workID` and
    /// `downloadedStatus` empty, no annotations.
    Work(std::string title, std::string author);
    /// The same with an identity of its own (a work of the library keeps its id).
    Work(std::string title, std::string author, QUuid id);

    /// Identity within one run; a fresh random UUID per construction.
    const QUuid id;
    /// The Books asset id, which links the work to its annotation rows.
    std::string workID;
    std::string workTitle;
    std::string workAuthor;
    /// Carried as read; nothing interprets it.
    std::string downloadedStatus;
    /// Where the work was read from ("Apple Books", "Kindle Notebook"), for exports.
    std::string workSource;
    /// The work's identity within its source, stable across re-reads and moved files (the Books
    /// asset id, the Kobo volume id; for sources with no ids, the folded title and author).
    /// Empty when `keyIsWorkID`; read it through key().
    std::string workKey;
    /// The key is `workID` itself (a Books work), which spares a second copy of every id.
    bool keyIsWorkID = false;
    const std::string& key() const { return keyIsWorkID ? workID : workKey; }
    /// The book's own file on this computer, where the source tells it (a KOReader sidecar beside
    /// its book, a calibre library's file); empty otherwise.
    std::string workBookFile;
    /// A reader's own link to the book ("calibre://view-book/…"), to which a place is added.
    std::string workReaderURL;
    /// The sources it was kept from, as the library names them; empty outside the library.
    std::vector<std::string> workSources;
    /// In database row order (or document order for a Kindle notebook).
    std::vector<AnnotationPtr> annotations;

    /// Empties `works`, freeing the annotations nothing else holds in the order of their
    /// addresses, which is about the order a load allocated them: work by work, the frees of a
    /// large library hop across the heap and take several times as long.
    static void release(std::vector<std::shared_ptr<Work>>& works);
};

using WorkPtr = std::shared_ptr<Work>;

} // namespace notara
