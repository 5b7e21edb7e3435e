#include "notara/core/sources/SourceKeys.h"

#include "notara/core/model/ContentHash.h"
#include "notara/core/search/TextFolder.h"
#include "notara/core/sources/Source.h"

#include <cstring>
#include <unordered_set>

namespace notara {

namespace {

// Runs of white space as one space, none at the ends: the two Kindle files wrap passages
// differently.
bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Whether `text` is already in collapsed form: no whitespace but single spaces between other
// bytes. Most passages are, and their hash then needs no collapsed copy. Eight bytes at a time:
// a word with no byte below 0x21 holds no whitespace at all.
bool isCollapsed(std::string_view text) {
    const std::size_t n = text.size();
    if (n == 0) return true;
    if (isSpace(text.front()) || isSpace(text.back())) return false;
    std::size_t i = 0;
    while (i < n) {
        if (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            constexpr std::uint64_t ones = 0x0101010101010101ULL, highs = 0x8080808080808080ULL;
            if (((word - ones * 0x21) & ~word & highs) == 0) {
                i += 8;
                continue;
            }
        }
        const char c = text[i];
        if (c == ' ') {
            if (isSpace(text[i + 1])) return false; // the last byte is no space, so i + 1 < n
        } else if (isSpace(c)) {
            return false;
        }
        ++i;
    }
    return true;
}

std::string collapsed(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        while (i < n && isSpace(text[i]))
            ++i;
        if (i == n) break;
        const std::size_t start = i;
        while (i < n && !isSpace(text[i]))
            ++i;
        if (!out.empty()) out += ' ';
        out.append(text.data() + start, i - start);
    }
    return out;
}

} // namespace

std::string SourceKeys::workMatchKey(std::string_view title, std::string_view author) {
    std::string key = TextFolder::folded(collapsed(title));
    key += '\x1f';
    TextFolder::appendFolded(collapsed(author), key);
    return key;
}

std::string SourceKeys::passageKey(std::string_view prefix, std::string_view workMatchKey,
                                   const Annotation& annotation) {
    ContentHash hash;
    hash.add(workMatchKey).add(Annotation::kindName(annotation.annotationKind));
    if (annotation.annotationLocation)
        hash.add("l").add(static_cast<std::uint64_t>(*annotation.annotationLocation));
    else
        hash.add("p").add(annotation.annotationPage);
    const std::string_view passage = annotation.annotationKind == Annotation::Kind::Note
                                         ? annotation.annotationUserNotes
                                         : annotation.annotationSelectedText;
    if (isCollapsed(passage))
        hash.add(passage);
    else
        hash.add(collapsed(passage));
    std::string key(prefix);
    key += ':';
    key += hash.hex();
    return key;
}

std::uint64_t SourceKeys::contentHash(const Annotation& a) {
    ContentHash hash;
    hash.add(a.annotationSelectedText)
        .add(a.annotationRepText)
        .add(a.annotationUserNotes)
        .add(a.annotationColor);
    hash.add(a.annotationChapter).add(a.annotationPage).add(a.annotationLocationRawText);
    hash.add(a.annotationLocation ? static_cast<std::uint64_t>(*a.annotationLocation) + 1 : 0);
    hash.add(a.annotationModified.view()).add(a.annotationCreated.view());
    return hash.value();
}

void SourceKeys::fingerprint(SourceRead& read) {
    ContentHash hash;
    for (const WorkPtr& work : read.works) {
        hash.add(work->key()).add(work->workTitle).add(work->workAuthor).add(work->annotations.size());
        for (const AnnotationPtr& annotation : work->annotations) {
            annotation->withKey([&](std::string_view key) { hash.add(key); });
            hash.add(contentHash(*annotation));
        }
    }
    read.fingerprint = hash.value();
}

void SourceKeys::makeUnique(std::vector<AnnotationPtr>& annotations) {
    std::unordered_set<std::string> seen;
    seen.reserve(annotations.size());
    for (const AnnotationPtr& annotation : annotations) {
        const std::string base = annotation->key();
        if (seen.insert(base).second) continue;
        annotation->annotationKeyForm = Annotation::KeyForm::Spelled;
        for (int copy = 2;; ++copy) {
            annotation->annotationKey = base + '#' + std::to_string(copy);
            if (seen.insert(annotation->annotationKey).second) break;
        }
    }
}

void SourceKeys::makeUnique(SourceRead& read) {
    std::vector<AnnotationPtr> all;
    for (const WorkPtr& work : read.works)
        all.insert(all.end(), work->annotations.begin(), work->annotations.end());
    makeUnique(all);
}

} // namespace notara
