#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace notara {

/// Text in the form search compares: full case folding ("Straße" and "STRASSE" both "strasse"),
/// compatibility forms unified (full-width "Ａ" is "a"), accents and other combining marks
/// dropped ("Café" is "cafe"). ASCII takes a fast path; the rest goes through ICU.
class TextFolder {
public:
    TextFolder() = delete;

    /// `utf8` folded, appended to `out`.
    static void appendFolded(std::string_view utf8, std::string& out);
    static std::string folded(std::string_view utf8);

    /// The same, and for every byte of the folded text the offset in `utf8` of the character it
    /// came from (`sourceOffsets` gets one entry per byte appended, plus one for the end), so
    /// a match in the folded text can be marked in the original.
    static std::string foldedWithOffsets(std::string_view utf8, std::vector<std::uint32_t>& sourceOffsets);
};

} // namespace notara
