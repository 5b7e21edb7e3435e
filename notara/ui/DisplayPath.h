#pragma once

#include <QString>

namespace notara {

// Paths as the window shows them.
class DisplayPath {
public:
    DisplayPath() = delete;

    // "~/Downloads/..." reads better than the full path of the home folder.
    static QString homeAsTilde(const QString& path);

    // `text` with a word joiner after every "~", "/" and "-" of the paths in it (from the first
    // "~/" or "/" of each line on), so that a wrapping label breaks a path only at its spaces,
    // never at "~/" or inside a dated file name.
    static QString unbrokenPaths(const QString& text);
};

} // namespace notara
