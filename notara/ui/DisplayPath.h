#pragma once

#include <QString>

namespace notara {

// Paths as the window shows them.
class DisplayPath {
public:
    DisplayPath() = delete;

    // "~/Downloads/..." reads better than the full path of the home folder.
    static QString homeAsTilde(const QString& path);
};

} // namespace notara
