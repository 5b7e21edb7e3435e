#pragma once

// The words of the element table's kind and flags columns (html/parser/ElementTable.def).
namespace html::element_table {

enum Kind { Block, Inline, Unregistered };

inline constexpr unsigned None = 0;
inline constexpr unsigned Void = 1u << 0;
inline constexpr unsigned InlineFormat = 1u << 1;
inline constexpr unsigned KeepSpace = 1u << 2;
inline constexpr unsigned Listed = 1u << 3;
inline constexpr unsigned Submittable = 1u << 4;
inline constexpr unsigned Special = 1u << 5;

} // namespace html::element_table
