#include "notara/core/search/SearchIndex.h"

#include "notara/core/search/TextFolder.h"

#include "html/nodes/StringUtil.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <thread>

namespace notara {

namespace {

// Between fields and annotations: no folded text holds it, so no match runs across.
constexpr char separator = '\x01';

bool isSpace(char c) {
    return html::StringUtil::isActuallyWhitespace(c);
}

// Byte classes for cutting tokens, as bits that a token's bytes are or-ed into.
enum ByteClass : unsigned char { Separator = 0, Lower = 1, Upper = 2, Other = 4 };
constexpr auto byteClass = [] {
    std::array<unsigned char, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        if (c >= 0x80)
            classes[c] = Other;
        else if (c >= 'A' && c <= 'Z')
            classes[c] = Upper;
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            classes[c] = Lower;
    }
    return classes;
}();

// Tokens end at ASCII spaces and punctuation, which fold to themselves; every other byte
// (letters, digits, any non-ASCII character) belongs to a token.
bool isSeparator(char c) {
    return byteClass[static_cast<unsigned char>(c)] == Separator;
}

// Texts to ids, open addressing over one arena: the index looks up every token of the
// library, and std::unordered_map's node per entry and general hash cost several times this.
class TokenTable {
public:
    TokenTable() : slots_(1 << 16) {}

    std::optional<std::uint32_t> find(std::string_view key) const {
        const std::uint64_t hash = hashOf(key);
        for (size_t i = hash & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
            const Slot& slot = slots_[i];
            if (slot.length == 0) return std::nullopt;
            if (matches(slot, hash, key)) return slot.id;
        }
    }

    // The id of `key`, inserting it with `id` when absent (then `second` is true).
    std::pair<std::uint32_t, bool> insert(std::string_view key, std::uint32_t id) {
        if ((size_ + 1) * 2 > slots_.size()) grow();
        const std::uint64_t hash = hashOf(key);
        for (size_t i = hash & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
            Slot& slot = slots_[i];
            if (slot.length == 0) {
                slot = {static_cast<std::uint32_t>(hash), static_cast<std::uint32_t>(arena_.size()),
                        static_cast<std::uint32_t>(key.size()), id};
                arena_.append(key);
                ++size_;
                return {id, true};
            }
            if (matches(slot, hash, key)) return {slot.id, false};
        }
    }

private:
    struct Slot {
        std::uint32_t hash = 0, offset = 0, length = 0, id = 0; // length 0: empty (keys never are)
    };

    static std::uint64_t hashOf(std::string_view key) {
        std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ key.size();
        size_t i = 0;
        for (; i + 8 <= key.size(); i += 8) {
            std::uint64_t word;
            std::memcpy(&word, key.data() + i, 8);
            hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
            hash ^= hash >> 32;
        }
        std::uint64_t tail = 0;
        for (size_t k = i; k < key.size(); ++k)
            tail = tail << 8 | static_cast<unsigned char>(key[k]);
        hash = (hash ^ tail) * 0xC4CEB9FE1A85EC53ull;
        return hash ^ (hash >> 29);
    }

    bool matches(const Slot& slot, std::uint64_t hash, std::string_view key) const {
        return slot.hash == static_cast<std::uint32_t>(hash) && slot.length == key.size() &&
               std::memcmp(arena_.data() + slot.offset, key.data(), key.size()) == 0;
    }

    void grow() {
        std::vector<Slot> old(slots_.size() * 2);
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (slot.length == 0) continue;
            const std::string_view key(arena_.data() + slot.offset, slot.length);
            size_t i = hashOf(key) & (slots_.size() - 1);
            while (slots_[i].length != 0)
                i = (i + 1) & (slots_.size() - 1);
            slots_[i] = slot;
        }
    }

    std::vector<Slot> slots_;
    std::string arena_;
    size_t size_ = 0;
};

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

namespace {

// The tokens of a run of works: each distinct folded token once, with the annotations (by
// their index in the whole index) that hold it, ascending.
struct TokenPart {
    TokenTable folded;  // folded token -> id
    TokenTable rawForm; // a non-ASCII token as written -> id, so each form is folded once
    std::string dictionary;
    std::vector<std::uint32_t> tokenBegins;
    std::vector<std::vector<std::uint32_t>> holders;
    std::string lowered, scratch;

    std::string_view token(std::uint32_t id) const {
        const std::uint32_t end = id + 1 < tokenBegins.size()
                                      ? tokenBegins[id + 1] - 1
                                      : static_cast<std::uint32_t>(dictionary.size()) - 1;
        return std::string_view(dictionary).substr(tokenBegins[id], end - tokenBegins[id]);
    }

    std::uint32_t idOf(std::string_view foldedToken) {
        const auto [id, added] = folded.insert(foldedToken, static_cast<std::uint32_t>(holders.size()));
        if (added) {
            holders.emplace_back();
            tokenBegins.push_back(static_cast<std::uint32_t>(dictionary.size()));
            dictionary.append(foldedToken);
            dictionary += separator;
        }
        return id;
    }

    void add(std::string_view text, std::uint32_t annotation) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
        size_t i = 0;
        while (i < text.size()) {
            if (byteClass[bytes[i]] == Separator) {
                ++i;
                continue;
            }
            size_t end = i;
            unsigned seen = 0;
            for (unsigned kind; end < text.size() && (kind = byteClass[bytes[end]]) != Separator; ++end)
                seen |= kind;
            const std::string_view raw = text.substr(i, end - i);
            std::uint32_t id;
            if (seen == Lower) {
                const auto known = folded.find(raw); // as it is: most tokens are lower-case words
                id = known ? *known : idOf(raw);
            } else if (!(seen & Other)) {
                lowered.assign(raw);
                html::StringUtil::lowerCaseAsciiInPlace(lowered);
                id = idOf(lowered);
            } else if (const auto known = rawForm.find(raw)) {
                id = *known;
            } else {
                scratch.clear();
                TextFolder::appendFolded(raw, scratch);
                id = idOf(scratch);
                rawForm.insert(raw, id);
            }
            auto& list = holders[id];
            if (list.empty() || list.back() != annotation) list.push_back(annotation);
            i = end;
        }
    }

    void addWorks(const std::vector<WorkPtr>& works, size_t from, size_t to, std::uint32_t firstAnnotation) {
        std::uint32_t index = firstAnnotation;
        for (size_t w = from; w < to; ++w) {
            for (const AnnotationPtr& annotation : works[w]->annotations) {
                add(annotation->annotationSelectedText, index);
                add(annotation->annotationUserNotes, index);
                add(annotation->annotationChapter, index);
                ++index;
            }
        }
    }
};

} // namespace

void SearchIndex::build(const std::vector<WorkPtr>& works) {
    works_ = works;
    workText_.clear();
    workBegins_.clear();
    entries_.clear();
    dictionary_.clear();
    tokenBegins_.clear();
    postingBegins_.clear();
    postings_.clear();

    size_t count = 0;
    for (const auto& work : works)
        count += work->annotations.size();
    entries_.reserve(count);

    // Reading the texts is most of the work, and they lie all over memory: a large library is
    // cut into a part per core, each tokenised on its own, and the parts merged.
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t partCount = count < 20000 ? 1 : std::min<size_t>(cores, 4);
    std::vector<size_t> bounds{0};
    std::vector<std::uint32_t> firstAnnotation{0};
    for (size_t w = 0, seen = 0; w < works.size(); ++w) {
        seen += works[w]->annotations.size();
        if (bounds.size() < partCount && seen >= count * bounds.size() / partCount) {
            bounds.push_back(w + 1);
            firstAnnotation.push_back(static_cast<std::uint32_t>(seen));
        }
    }
    while (bounds.size() <= partCount) {
        bounds.push_back(works.size());
        firstAnnotation.push_back(static_cast<std::uint32_t>(count));
    }
    std::vector<TokenPart> parts(partCount);
    std::vector<std::thread> helpers;
    for (size_t p = 1; p < partCount; ++p) {
        helpers.emplace_back(
            [&, p] { parts[p].addWorks(works, bounds[p], bounds[p + 1], firstAnnotation[p]); });
    }
    parts[0].addWorks(works, bounds[0], bounds[1], firstAnnotation[0]);

    // Meanwhile: titles and authors, and where each annotation is.
    for (size_t w = 0; w < works.size(); ++w) {
        const Work& work = *works[w];
        workBegins_.push_back(static_cast<std::uint32_t>(workText_.size()));
        TextFolder::appendFolded(work.workTitle, workText_);
        workText_ += separator;
        TextFolder::appendFolded(work.workAuthor, workText_);
        workText_ += separator;
        for (const AnnotationPtr& annotation : work.annotations)
            entries_.push_back({static_cast<std::uint32_t>(w), annotation.get()});
    }
    workBegins_.push_back(static_cast<std::uint32_t>(workText_.size()));
    for (auto& helper : helpers)
        helper.join();

    // The first part's tokens take the others' in; a token's lists follow one another in part
    // order, which is annotation order.
    TokenPart& merged = parts[0];
    std::vector<std::vector<std::uint32_t>> localOf(partCount); // merged id -> the part's id
    for (size_t p = 1; p < partCount; ++p) {
        std::vector<std::uint32_t>& local = localOf[p];
        for (std::uint32_t id = 0; id < parts[p].holders.size(); ++id) {
            const std::uint32_t into = merged.idOf(parts[p].token(id));
            if (local.size() <= into) local.resize(merged.holders.size(), UINT32_MAX);
            local[into] = id;
        }
    }
    size_t total = 0;
    for (const auto& part : parts) {
        for (const auto& list : part.holders)
            total += list.size();
    }
    postings_.reserve(total);
    postingBegins_.reserve(merged.holders.size() + 1);
    for (std::uint32_t id = 0; id < merged.holders.size(); ++id) {
        postingBegins_.push_back(static_cast<std::uint32_t>(postings_.size()));
        postings_.insert(postings_.end(), merged.holders[id].begin(), merged.holders[id].end());
        for (size_t p = 1; p < partCount; ++p) {
            if (id < localOf[p].size() && localOf[p][id] != UINT32_MAX) {
                const auto& list = parts[p].holders[localOf[p][id]];
                postings_.insert(postings_.end(), list.begin(), list.end());
            }
        }
    }
    postingBegins_.push_back(static_cast<std::uint32_t>(postings_.size()));
    dictionary_ = std::move(merged.dictionary);
    dictionary_.shrink_to_fit();
    tokenBegins_ = std::move(merged.tokenBegins);
    tokenBegins_.push_back(static_cast<std::uint32_t>(dictionary_.size()));
}

void SearchIndex::markHolders(std::string_view piece, std::vector<std::uint32_t>& stamp,
                              std::uint32_t mark) const {
    const char* begin = dictionary_.data();
    const char* end = begin + dictionary_.size();
    for (const char* at = findIn(begin, end, piece); at; at = findIn(at + 1, end, piece)) {
        const auto offset = static_cast<std::uint32_t>(at - begin);
        const size_t token =
            static_cast<size_t>(std::upper_bound(tokenBegins_.begin(), tokenBegins_.end(), offset) -
                                tokenBegins_.begin()) -
            1;
        for (std::uint32_t p = postingBegins_[token]; p < postingBegins_[token + 1]; ++p)
            stamp[postings_[p]] = mark;
        at = begin + tokenBegins_[token + 1] - 1; // on to the next token
    }
}

namespace {

// Whether `text` folded holds `term` (folded). Most text is ASCII, whose folding is lower-casing:
// done in `buffer` without the general path.
bool holdsFolded(std::string_view text, std::string_view term, std::string& buffer) {
    buffer.clear();
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        buffer.assign(text);
        html::StringUtil::lowerCaseAsciiInPlace(buffer);
    } else {
        TextFolder::appendFolded(text, buffer);
    }
    return findIn(buffer.data(), buffer.data() + buffer.size(), term) != nullptr;
}

struct Scratch {
    std::vector<std::uint32_t> stamp, candidates, holding, perWork;
    std::uint32_t nextMark = 0;
};

} // namespace

SearchIndex::Matches SearchIndex::search(std::string_view query) const {
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

    // The annotations still in the running, narrowed term by term: an annotation keeps its
    // place when the term is in its work's title or author, or in its own text.
    // Scratch kept from query to query (per thread, so queries on several threads stay safe):
    // a query may mark most of a large library, and allocating that much each keystroke costs
    // more than the marking.
    thread_local Scratch scratch;
    // A query uses one mark per term and per piece of a term: fewer than its terms' bytes.
    std::uint64_t marksNeeded = termCount + 1;
    for (const std::string& term : wanted)
        marksNeeded += term.size();
    if (scratch.stamp.size() != entries_.size() || scratch.nextMark > UINT32_MAX - marksNeeded) {
        scratch.stamp.assign(entries_.size(), 0);
        scratch.nextMark = 0;
    }
    std::vector<std::uint32_t>& stamp = scratch.stamp;
    std::uint32_t& nextMark = scratch.nextMark; // each marking pass stamps with a mark of its own
    std::vector<std::uint32_t>& candidates = scratch.candidates;
    candidates.resize(entries_.size());
    for (size_t i = 0; i < candidates.size(); ++i)
        candidates[i] = static_cast<std::uint32_t>(i);
    std::vector<std::string_view> pieces;
    std::vector<std::uint32_t>& holding = scratch.holding;
    std::string folded;
    for (size_t t = 0; t < termCount && !candidates.empty(); ++t) {
        const std::string& term = wanted[t];
        auto inTitle = [&](std::uint32_t i) { return t < 64 && (titleTerms[entries_[i].work] >> t & 1); };
        pieces.clear();
        for (size_t i = 0; i < term.size();) {
            if (isSeparator(term[i])) {
                ++i;
                continue;
            }
            size_t end = i;
            while (end < term.size() && !isSeparator(term[end]))
                ++end;
            pieces.push_back(std::string_view(term).substr(i, end - i));
            i = end;
        }
        if (pieces.size() == 1 && pieces[0].size() == term.size()) {
            const std::uint32_t mark = ++nextMark;
            markHolders(term, stamp, mark);
            std::erase_if(candidates, [&](std::uint32_t i) { return stamp[i] != mark && !inTitle(i); });
            continue;
        }
        // A term with spaces or punctuation ("the reader", "c++"): the annotations holding all
        // its pieces, then the whole term looked for in their folded text.
        holding.clear();
        for (std::uint32_t i : candidates) {
            if (!inTitle(i)) holding.push_back(i);
        }
        for (std::string_view piece : pieces) {
            const std::uint32_t mark = ++nextMark;
            markHolders(piece, stamp, mark);
            std::erase_if(holding, [&](std::uint32_t i) { return stamp[i] != mark; });
        }
        const std::uint32_t found = ++nextMark;
        for (std::uint32_t i : holding) {
            const Annotation& a = *entries_[i].annotation;
            for (const std::string* field :
                 {&a.annotationSelectedText, &a.annotationUserNotes, &a.annotationChapter}) {
                if (holdsFolded(*field, term, folded)) {
                    stamp[i] = found;
                    break;
                }
            }
        }
        std::erase_if(candidates, [&](std::uint32_t i) { return stamp[i] != found && !inTitle(i); });
    }

    // In works order; a work found by its title or author is listed even without annotations.
    // Counted first, so that every list is allocated once.
    std::vector<std::uint32_t>& perWork = scratch.perWork;
    perWork.assign(works_.size(), 0);
    for (std::uint32_t i : candidates)
        ++perWork[entries_[i].work];
    size_t listed = 0;
    for (size_t w = 0; w < works_.size(); ++w)
        listed += perWork[w] > 0 || (titleTerms[w] & all) == all;
    Matches matches;
    matches.results.reserve(listed);
    matches.annotations.reserve(candidates.size());
    for (std::uint32_t i : candidates)
        matches.annotations.push_back(entries_[i].annotation);
    size_t next = 0;
    for (size_t w = 0; w < works_.size(); ++w) {
        if (perWork[w] == 0 && (titleTerms[w] & all) != all) continue;
        matches.results.push_back({works_[w], std::span(matches.annotations).subspan(next, perWork[w])});
        next += perWork[w];
    }
    return matches;
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
    return workText_.capacity() + entries_.capacity() * sizeof(Entry) +
           workBegins_.capacity() * sizeof(std::uint32_t) + works_.capacity() * sizeof(WorkPtr) +
           dictionary_.capacity() +
           (tokenBegins_.capacity() + postingBegins_.capacity() + postings_.capacity()) *
               sizeof(std::uint32_t);
}

} // namespace notara
