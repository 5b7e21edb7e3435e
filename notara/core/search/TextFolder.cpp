#include "notara/core/search/TextFolder.h"

#include "html/nodes/StringUtil.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <string>
#include <unordered_map>

namespace notara {

namespace {

// NFKC with case folding, then the marks a decomposition leaves are dropped.
void foldRunWithIcu(std::string_view run, std::string& out) {
    UErrorCode status = U_ZERO_ERROR;
    static const icu::Normalizer2* caseFold = icu::Normalizer2::getNFKCCasefoldInstance(status);
    static const icu::Normalizer2* decompose = icu::Normalizer2::getNFDInstance(status);
    if (!caseFold || !decompose) {
        out.append(run);
        return;
    }
    UErrorCode error = U_ZERO_ERROR;
    icu::UnicodeString text =
        icu::UnicodeString::fromUTF8(icu::StringPiece(run.data(), static_cast<int32_t>(run.size())));
    icu::UnicodeString folded = caseFold->normalize(text, error);
    icu::UnicodeString parts = decompose->normalize(folded, error);
    if (U_FAILURE(error)) {
        out.append(run);
        return;
    }
    icu::UnicodeString kept;
    for (int32_t i = 0; i < parts.length();) {
        const UChar32 c = parts.char32At(i);
        i += U16_LENGTH(c);
        if (u_charType(c) != U_NON_SPACING_MARK) kept.append(c);
    }
    kept.toUTF8String(out);
}

// Words repeat: the same non-ASCII runs come back thousands of times in a library, and a
// lookup costs a fraction of a normalisation. Bounded, and per thread, so it needs no lock.
void foldRun(std::string_view run, std::string& out) {
    thread_local std::unordered_map<std::string, std::string> cache;
    if (run.size() > 32) {
        foldRunWithIcu(run, out);
        return;
    }
    thread_local std::string key;
    key.assign(run);
    if (const auto found = cache.find(key); found != cache.end()) {
        out += found->second;
        return;
    }
    std::string folded;
    foldRunWithIcu(run, folded);
    out += folded;
    if (cache.size() >= 65536) cache.clear();
    cache.emplace(key, std::move(folded));
}

size_t sequenceLength(unsigned char lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return 4;
}

// Dashes and curly quotes, which books hold everywhere: folding leaves them as they are, so
// they need neither ICU nor the cache.
bool isTypographicPunctuation(std::string_view run) {
    for (size_t i = 0; i < run.size(); i += 3) {
        if (run.size() - i < 3 || run[i] != '\xE2' || run[i + 1] != '\x80') return false;
        switch (run[i + 2]) {
        case '\x93': // – en dash
        case '\x94': // — em dash
        case '\x98': // ‘
        case '\x99': // ’
        case '\x9C': // “
        case '\x9D': // ”
            break;
        default: return false;
        }
    }
    return true;
}

} // namespace

void TextFolder::appendFolded(std::string_view utf8, std::string& out) {
    size_t i = 0;
    while (i < utf8.size()) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            // A run of ASCII in one append, lower-cased where it lies.
            size_t end = i;
            while (end < utf8.size() && static_cast<unsigned char>(utf8[end]) < 0x80)
                ++end;
            const size_t from = out.size();
            out.append(utf8.data() + i, end - i);
            for (size_t k = from; k < out.size(); ++k)
                out[k] = html::StringUtil::toLowerAscii(out[k]);
            i = end;
            continue;
        }
        // A run of non-ASCII characters (with the ASCII ones a combining mark may follow)
        // goes through ICU as one piece.
        size_t end = i;
        while (end < utf8.size() && static_cast<unsigned char>(utf8[end]) >= 0x80)
            end += sequenceLength(static_cast<unsigned char>(utf8[end]));
        end = std::min(end, utf8.size());
        const std::string_view run = utf8.substr(i, end - i);
        if (isTypographicPunctuation(run))
            out.append(run);
        else
            foldRun(run, out);
        i = end;
    }
}

std::string TextFolder::folded(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    appendFolded(utf8, out);
    return out;
}

std::string TextFolder::foldedWithOffsets(std::string_view utf8, std::vector<std::uint32_t>& sourceOffsets) {
    std::string out;
    sourceOffsets.clear();
    size_t i = 0;
    while (i < utf8.size()) {
        const size_t length = std::min(sequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        const size_t before = out.size();
        appendFolded(utf8.substr(i, length), out);
        sourceOffsets.insert(sourceOffsets.end(), out.size() - before, static_cast<std::uint32_t>(i));
        i += length;
    }
    sourceOffsets.push_back(static_cast<std::uint32_t>(utf8.size()));
    return out;
}

} // namespace notara
