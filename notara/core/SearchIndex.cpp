#include "notara/core/SearchIndex.h"

#include "notara/core/TextFolder.h"

#include "html/nodes/StringUtil.h"

#include <algorithm>
#include <cstring>

namespace notara {

namespace {

// Between fields and annotations: no folded text holds it, so no match runs across.
constexpr char separator = '\x01';

bool isSpace(char c) {
    return html::StringUtil::isActuallyWhitespace(c);
}

// glibc's memmem is far faster than a byte-by-byte find for needles of a few letters.
const char* findIn(const char* begin, const char* end, std::string_view needle) {
    if (needle.empty()) return begin;
    return static_cast<const char*>(
        ::memmem(begin, static_cast<size_t>(end - begin), needle.data(), needle.size()));
}

} // namespace

std::vector<std::string> SearchIndex::terms(std::string_view query) {
    std::vector<std::string> result;
    size_t i = 0;
    while (i < query.size()) {
        if (isSpace(query[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        if (query[i] == '"') {
            const size_t close = query.find('"', i + 1);
            end = close == std::string_view::npos ? query.size() : close;
            std::string phrase = TextFolder::folded(query.substr(i + 1, end - i - 1));
            // A phrase keeps its inner spaces but not those at its ends.
            while (!phrase.empty() && isSpace(phrase.back()))
                phrase.pop_back();
            size_t lead = 0;
            while (lead < phrase.size() && isSpace(phrase[lead]))
                ++lead;
            if (lead < phrase.size()) result.push_back(phrase.substr(lead));
            i = end + 1;
            continue;
        }
        while (end < query.size() && !isSpace(query[end]) && query[end] != '"')
            ++end;
        result.push_back(TextFolder::folded(query.substr(i, end - i)));
        i = end;
    }
    std::erase_if(result, [](const std::string& term) { return term.empty(); });
    return result;
}

void SearchIndex::build(const std::vector<WorkPtr>& works) {
    works_ = works;
    workText_.clear();
    workBegins_.clear();
    text_.clear();
    entries_.clear();
    size_t bytes = 0, count = 0;
    for (const auto& work : works) {
        count += work->annotations.size();
        for (const auto& a : work->annotations)
            bytes += a->annotationSelectedText.size() + a->annotationUserNotes.size() +
                     a->annotationChapter.size() + 3;
    }
    text_.reserve(bytes + bytes / 16);
    entries_.reserve(count);
    for (size_t w = 0; w < works.size(); ++w) {
        const Work& work = *works[w];
        workBegins_.push_back(static_cast<std::uint32_t>(workText_.size()));
        TextFolder::appendFolded(work.workTitle, workText_);
        workText_ += separator;
        TextFolder::appendFolded(work.workAuthor, workText_);
        workText_ += separator;
        for (const AnnotationPtr& annotation : work.annotations) {
            entries_.push_back(
                {static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(w), &annotation});
            TextFolder::appendFolded(annotation->annotationSelectedText, text_);
            text_ += separator;
            TextFolder::appendFolded(annotation->annotationUserNotes, text_);
            text_ += separator;
            TextFolder::appendFolded(annotation->annotationChapter, text_);
            text_ += separator;
        }
    }
    workBegins_.push_back(static_cast<std::uint32_t>(workText_.size()));
    text_.shrink_to_fit();
}

std::vector<SearchIndex::Result> SearchIndex::search(std::string_view query) const {
    const std::vector<std::string> wanted = terms(query);
    if (wanted.empty()) return {};

    // Which terms each work's title and author hold, as bits (terms beyond 64 must be in the
    // annotation itself).
    const size_t termCount = wanted.size();
    std::vector<std::uint64_t> titleTerms(works_.size(), 0);
    for (size_t t = 0; t < termCount && t < 64; ++t) {
        const char* begin = workText_.data();
        const char* end = begin + workText_.size();
        for (const char* at = findIn(begin, end, wanted[t]); at; at = findIn(at + 1, end, wanted[t])) {
            const auto offset = static_cast<std::uint32_t>(at - begin);
            const size_t work =
                static_cast<size_t>(std::upper_bound(workBegins_.begin(), workBegins_.end(), offset) -
                                    workBegins_.begin()) -
                1;
            titleTerms[work] |= std::uint64_t{1} << t;
            // The next occurrence in another work: skip the rest of this one.
            at = begin + workBegins_[work + 1] - 1;
        }
    }
    const std::uint64_t all = termCount >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << termCount) - 1;

    // Candidates: annotations holding the first term not in their title, found by one scan of
    // the whole text; the other terms are then looked for inside each candidate.
    std::vector<char> matched(entries_.size(), 0);
    for (size_t i = 0; i < entries_.size(); ++i) {
        if ((titleTerms[entries_[i].work] & all) == all) matched[i] = 1;
    }
    auto segment = [&](size_t i) {
        const std::uint32_t begin = entries_[i].begin;
        const std::uint32_t end =
            i + 1 < entries_.size() ? entries_[i + 1].begin : static_cast<std::uint32_t>(text_.size());
        return std::string_view(text_).substr(begin, end - begin);
    };
    // Whether annotation i holds every term but `known` that its title does not.
    auto holdsTerms = [&](size_t i, size_t known) {
        const std::string_view text = segment(i);
        const std::uint64_t title = titleTerms[entries_[i].work];
        for (size_t t = 0; t < termCount; ++t) {
            if (t == known || (t < 64 && (title >> t & 1))) continue;
            if (!findIn(text.data(), text.data() + text.size(), wanted[t])) return false;
        }
        return true;
    };
    // Scan for the longest term: the rarest, as a rule, so the fewest candidates.
    size_t lead = 0;
    for (size_t t = 1; t < termCount; ++t) {
        if (wanted[t].size() > wanted[lead].size()) lead = t;
    }
    const char* begin = text_.data();
    const char* end = begin + text_.size();
    size_t entry = 0;
    for (const char* at = findIn(begin, end, wanted[lead]); at; at = findIn(at + 1, end, wanted[lead])) {
        const auto offset = static_cast<std::uint32_t>(at - begin);
        while (entry + 1 < entries_.size() && entries_[entry + 1].begin <= offset)
            ++entry;
        if (!matched[entry]) matched[entry] = holdsTerms(entry, lead) ? 1 : 0;
        // On to the next annotation.
        if (entry + 1 >= entries_.size()) break;
        at = begin + entries_[entry + 1].begin - 1;
    }
    // A lead term found only in the title: the annotation still needs the others itself.
    if (lead < 64) {
        for (size_t i = 0; i < entries_.size(); ++i) {
            if (!matched[i] && (titleTerms[entries_[i].work] >> lead & 1)) matched[i] = holdsTerms(i, lead);
        }
    }

    // In works order; a work found by its title or author is listed even without annotations.
    std::vector<Result> results;
    size_t i = 0;
    for (size_t w = 0; w < works_.size(); ++w) {
        const bool byTitle = (titleTerms[w] & all) == all;
        if (byTitle) results.push_back({works_[w], {}});
        for (; i < entries_.size() && entries_[i].work == w; ++i) {
            if (!matched[i]) continue;
            if (!byTitle && (results.empty() || results.back().work != works_[w]))
                results.push_back({works_[w], {}});
            results.back().annotations.push_back(*entries_[i].annotation);
        }
    }
    return results;
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> SearchIndex::matchRanges(std::string_view text,
                                                                              std::string_view query) {
    std::vector<std::uint32_t> offsets;
    const std::string folded = TextFolder::foldedWithOffsets(text, offsets);
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges;
    for (const std::string& term : terms(query)) {
        for (size_t at = folded.find(term); at != std::string::npos; at = folded.find(term, at + 1)) {
            // From the first source character to the end of the last one the match touches.
            const std::uint32_t from = offsets[at];
            size_t last = at + term.size();
            while (last < offsets.size() - 1 && offsets[last] == offsets[last - 1])
                ++last;
            ranges.emplace_back(from, offsets[last]);
        }
    }
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<std::uint32_t, std::uint32_t>> merged;
    for (const auto& range : ranges) {
        if (!merged.empty() && range.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, range.second);
        else
            merged.push_back(range);
    }
    return merged;
}

std::size_t SearchIndex::memoryBytes() const {
    return text_.capacity() + workText_.capacity() + entries_.capacity() * sizeof(Entry) +
           workBegins_.capacity() * sizeof(std::uint32_t) + works_.capacity() * sizeof(WorkPtr);
}

} // namespace notara
