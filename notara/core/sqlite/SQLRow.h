#pragma once

#include <string>
#include <unordered_map>

namespace notara {

/// One result row: column name to text. NULL reads as the empty text, so the two cannot be
/// told apart.
using SQLRow = std::unordered_map<std::string, std::string>;

} // namespace notara
