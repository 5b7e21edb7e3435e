#include "notara/core/model/Work.h"

#include <QRandomGenerator>

#include <algorithm>
#include <functional>

namespace notara {

namespace {

// A random (version 4) UUID. QUuid::createUuid asks the system's entropy source for every
// id, which is slow on virtual machines; an id need only be unique within one run.
QUuid newID() {
    QRandomGenerator* random = QRandomGenerator::global();
    const quint64 high = random->generate64();
    const quint64 low = random->generate64();
    auto byte = [low](int i) { return static_cast<uchar>(low >> (8 * i)); };
    return QUuid(static_cast<uint>(high >> 32), static_cast<ushort>(high >> 16),
                 static_cast<ushort>((high & 0x0FFF) | 0x4000), // version 4
                 static_cast<uchar>((byte(0) & 0x3F) | 0x80),   // RFC 4122 variant
                 byte(1), byte(2), byte(3), byte(4), byte(5), byte(6), byte(7));
}

} // namespace

Work::Work(const SQLRow& libraryRow) : id(newID()) {
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
    : id(newID()), workTitle(std::move(title)), workAuthor(std::move(author)) {}

Work::Work(std::string title, std::string author, QUuid uid)
    : id(uid.isNull() ? newID() : uid), workTitle(std::move(title)), workAuthor(std::move(author)) {}

void Work::release(std::vector<WorkPtr>& works) {
    std::vector<AnnotationPtr> annotations;
    std::size_t count = 0;
    for (const WorkPtr& work : works)
        if (work && work.use_count() == 1) count += work->annotations.size();
    annotations.reserve(count);
    for (const WorkPtr& work : works) {
        if (!work || work.use_count() != 1) continue;
        std::move(work->annotations.begin(), work->annotations.end(), std::back_inserter(annotations));
    }
    works.clear();
    std::sort(annotations.begin(), annotations.end(),
              [](const AnnotationPtr& a, const AnnotationPtr& b) { return std::less<>()(a.get(), b.get()); });
    annotations.clear();
}

} // namespace notara
