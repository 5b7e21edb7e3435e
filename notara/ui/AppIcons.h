#pragma once

#include <QIcon>

namespace notara {

// The window's icons: the desktop's icon theme where it has a close match, otherwise the
// icons bundled with the application.
class AppIcons {
public:
    static QIcon actions();
    static QIcon booksFolder();
    static QIcon kindleExport();
    static QIcon checkmark();
    static QIcon exportAnnotations();
    static QIcon application();
};

} // namespace notara
