#include "notara/core/sources/kindle/KindleNotebookSource.h"

#include "notara/core/sources/SourceKeys.h"
#include "notara/core/sources/kindle/KindleNotesParser.h"

namespace notara {

SourceRead KindleNotebookSource::read(const std::filesystem::path& place) const {
    KindleNotesParser parser;
    parser.fileURL = place;
    std::string problem;
    std::vector<WorkPtr> works = parser.parseWorks(&problem);
    if (works.empty()) {
        SourceRead read;
        read.kind = kind();
        read.place = place;
        read.problem = problem.empty() ? "It is not a Kindle Notebook export." : problem;
        return read;
    }
    return describe(std::move(works), place);
}

SourceRead KindleNotebookSource::describe(std::vector<WorkPtr> works, const std::filesystem::path& place) {
    SourceRead read;
    read.kind = SourceKind::KindleNotebook;
    read.place = place;
    read.works = std::move(works);
    if (read.works.empty()) {
        read.problem = "It is not a Kindle Notebook export.";
        return read;
    }
    assignKindleKeys(read.works);
    const Work& work = *read.works.front();
    read.key = work.workKey;
    read.name = "Kindle notebook: " + work.workTitle;
    SourceKeys::fingerprint(read);
    return read;
}

void KindleNotebookSource::assignKindleKeys(std::vector<WorkPtr>& works) {
    std::vector<AnnotationPtr> all;
    for (const WorkPtr& work : works) {
        work->workKey = SourceKeys::workMatchKey(work->workTitle, work->workAuthor);
        for (const AnnotationPtr& annotation : work->annotations) {
            annotation->annotationKey = SourceKeys::passageKey("kindle", work->workKey, *annotation);
            all.push_back(annotation);
        }
    }
    SourceKeys::makeUnique(all);
}

} // namespace notara
