#pragma once

namespace corvane {

// How convertToStringWithFormatOptions spells a truth value. Compact picks the one-letter word;
// the case styles are tried as Uppercase, then Lowercase, then Titlecase. Full changes nothing.
// A scoped enumeration compares with == and hashes with std::hash out of the box.
enum class BooleanStringReturnStyle {
    Compact,
    Full,
    Uppercase,
    Lowercase,
    Titlecase,
};

} // namespace corvane
