#include "notara/ui/DisplayPath.h"

#include <QDir>

namespace notara {

QString DisplayPath::homeAsTilde(const QString& path) {
    const QString home = QDir::homePath();
    if (path == home) return QStringLiteral("~");
    if (path.startsWith(home + QLatin1Char('/'))) return QStringLiteral("~") + path.mid(home.size());
    return path;
}

QString DisplayPath::unbrokenPaths(const QString& text) {
    static constexpr QChar wordJoiner(0x2060);
    QString out;
    out.reserve(text.size() + text.size() / 4);
    bool inPath = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\n')) inPath = false;
        const bool atWordStart = i == 0 || text[i - 1].isSpace();
        if (!inPath && atWordStart &&
            (c == QLatin1Char('/') || (c == QLatin1Char('~') && text.mid(i + 1, 1) == QStringLiteral("/"))))
            inPath = true;
        out += c;
        if (inPath && (c == QLatin1Char('/') || c == QLatin1Char('~') || c == QLatin1Char('-')))
            out += wordJoiner;
    }
    return out;
}

} // namespace notara
