#include "notara/core/TextFolder.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace notara {

namespace {

// NFKC with case folding, then the marks a decomposition leaves are dropped.
void foldRun(std::string_view run, std::string& out) {
    UErrorCode status = U_ZERO_ERROR;
    static const icu::Normalizer2* caseFold = icu::Normalizer2::getNFKCCasefoldInstance(status);
    static const icu::Normalizer2* decompose = icu::Normalizer2::getNFDInstance(status);
    if (!caseFold || !decompose) {
        out.append(run);
        return;
    }
    UErrorCode error = U_ZERO_ERROR;
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(icu::StringPiece(run.data(), static_cast<int32_t>(run.size())));
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

size_t sequenceLength(unsigned char lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return 4;
}

} // namespace

void TextFolder::appendFolded(std::string_view utf8, std::string& out) {
    size_t i = 0;
    while (i < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : static_cast<char>(c);
            ++i;
            continue;
        }
        // A run of non-ASCII characters (with the ASCII ones a combining mark may follow)
        // goes through ICU as one piece.
        size_t end = i;
        while (end < utf8.size() && static_cast<unsigned char>(utf8[end]) >= 0x80)
            end += sequenceLength(static_cast<unsigned char>(utf8[end]));
        end = std::min(end, utf8.size());
        foldRun(utf8.substr(i, end - i), out);
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
