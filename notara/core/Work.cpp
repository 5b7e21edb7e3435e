#include "notara/core/Work.h"

namespace notara {

Work::Work(const SQLRow& libraryRow) : id(QUuid::createUuid()) {
    for (const auto& [column, text] : libraryRow) {
        if (column == "ZASSETID")
            workID = text;
        else if (column == "ZSORTTITLE")
            workTitle = text;
        else if (column == "ZSORTAUTHOR")
            workAuthor = text;
        else if (column == "ZDOWNLOADEDDSID")
            downloadedStatus = text;
    }
}

Work::Work(std::string title, std::string author)
    : id(QUuid::createUuid()), workTitle(std::move(title)), workAuthor(std::move(author)) {}

} // namespace notara
