#pragma once

#include <QString>

namespace notara {

// The desktop's file manager, for "Show in Folder".
class FileManager {
public:
    FileManager() = delete;

    // Selects `file` in the file manager (the freedesktop FileManager1 interface on the session
    // bus), else opens its folder. False when neither worked, so the caller can say so.
    static bool showInFolder(const QString& file);
    // Opens `folder` itself in the file manager, in the same way.
    static bool openFolder(const QString& folder);
    // What the window says when neither worked for `path`.
    static QString notShownText(const QString& path);

private:
    static bool call(const QString& method, const QString& path);
};

} // namespace notara
