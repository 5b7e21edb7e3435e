#pragma once

namespace corvane {

// The cleaning steps cleanStringWithOptions can apply. The steps always run in one fixed order
// (the order of the cases here is not it), so callers pass a set of cases, not a recipe.
// A scoped enumeration compares with == and hashes with std::hash out of the box.
enum class TextCleaningOperations {
    RemoveNewLines,
    CSVSafe,
    CleanForHTML,
    RemoveNonAlphaNumericPeriods,
};

} // namespace corvane
