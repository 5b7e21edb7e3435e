#include "notara/core/search/LibrarySearch.h"

#include "notara/core/search/SearchIndex.h"
#include "notara/core/search/TextFolder.h"

#include <algorithm>

namespace notara {

LibrarySearch::Query LibrarySearch::parse(std::string_view query) {
    Query parsed;
    bool quoted = false;
    std::size_t at = 0;
    while (at < query.size()) {
        // Words are cut at spaces outside quotes; quoted phrases go to the text unchanged.
        std::size_t end = at;
        while (end < query.size() && (quoted || query[end] != ' ')) {
            if (query[end] == '"') quoted = !quoted;
            ++end;
        }
        const std::string_view word = query.substr(at, end - at);
        std::string folded = TextFolder::folded(word);
        if (folded.starts_with("tag:") && folded.size() > 4) {
            parsed.tags.push_back(folded.substr(4));
        } else if (folded == "is:favourite" || folded == "is:favorite") {
            parsed.favourite = true;
        } else if (!word.empty()) {
            if (!parsed.text.empty()) parsed.text += ' ';
            parsed.text += word;
        }
        at = end + 1;
    }
    return parsed;
}

bool LibrarySearch::matchesMarks(const Annotation& annotation, const Query& query) {
    if (!query.hasMarks()) return true;
    const AnnotationInLibrary* state = annotation.annotationLibrary.get();
    if (!state) return false;
    if (query.favourite && !state->favourite) return false;
    for (const std::string& wanted : query.tags) {
        const bool carried = std::any_of(state->tags.begin(), state->tags.end(), [&](const std::string& tag) {
            return TextFolder::folded(tag) == wanted;
        });
        if (!carried) return false;
    }
    return true;
}

std::vector<WorkPtr> LibrarySearch::filter(const std::vector<WorkPtr>& works, std::string_view query) {
    const Query parsed = parse(query);
    std::vector<WorkPtr> marked;
    if (parsed.hasMarks()) {
        for (const WorkPtr& work : works) {
            auto copy = std::make_shared<Work>(*work);
            std::erase_if(copy->annotations,
                          [&](const AnnotationPtr& a) { return !matchesMarks(*a, parsed); });
            if (!copy->annotations.empty()) marked.push_back(std::move(copy));
        }
        if (parsed.text.find_first_not_of(' ') == std::string::npos) return marked;
    }
    SearchIndex index;
    index.build(parsed.hasMarks() ? marked : works);
    std::vector<WorkPtr> matching;
    for (const auto& result : index.search(parsed.text)) {
        auto work = std::make_shared<Work>(*result.work);
        auto next = result.annotations.begin();
        std::erase_if(work->annotations, [&](const AnnotationPtr& annotation) {
            if (next == result.annotations.end() || *next != annotation.get()) return true;
            ++next;
            return false;
        });
        matching.push_back(std::move(work));
    }
    return matching;
}

} // namespace notara
