#include "notara/core/sources/kindle/KindleNotebookSource.h"

#include "notara/core/sources/SourceKeys.h"
#include "notara/core/sources/kindle/KindleNotesParser.h"

namespace notara {

SourceRead KindleNotebookSource::read(const std::filesystem::path& place) const {
    SourceRead read;
    read.kind = kind();
    read.place = place;
    KindleNotesParser parser;
    parser.fileURL = place;
    std::string problem;
    read.works = parser.parseWorks(&problem);
    if (read.works.empty()) {
        read.problem = problem.empty() ? "It is not a Kindle Notebook export." : problem;
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
