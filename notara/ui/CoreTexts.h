#pragma once

#include "notara/core/sources/SourceKind.h"

#include <QString>
#include <string_view>

namespace notara {

// The fixed texts of the core that the window shows (the Books folder alert, the -wal warning,
// the sources' names) in the reader's language. The core itself stays English: the command
// line's messages are read by scripts.
class CoreTexts {
public:
    CoreTexts() = delete;

    // `text` translated line by line; a line with no translation stays as it is.
    static QString translated(std::string_view text);
    static QString sourceName(SourceKind kind);
};

} // namespace notara
