#include "notara/ui/DisplayPath.h"

#include <QDir>

namespace notara {

QString DisplayPath::homeAsTilde(const QString& path) {
    const QString home = QDir::homePath();
    if (path == home) return QStringLiteral("~");
    if (path.startsWith(home + QLatin1Char('/'))) return QStringLiteral("~") + path.mid(home.size());
    return path;
}

} // namespace notara
