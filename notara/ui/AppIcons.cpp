#include "notara/ui/AppIcons.h"

#include "notara/ui/PaletteIconEngine.h"

#include <initializer_list>

namespace notara {

namespace {

// The bundled icons and a theme's symbolic ones are outlines in one colour; they take the
// palette's text colour. A theme's full-colour icons are drawn as they are.
QIcon themedOrBundled(std::initializer_list<const char*> themeNames, const char* bundled) {
    for (const char* name : themeNames) {
        const QString themeName = QString::fromLatin1(name);
        if (!QIcon::hasThemeIcon(themeName)) continue;
        if (themeName.endsWith(QLatin1String("-symbolic")))
            return QIcon(new PaletteIconEngine(QIcon::fromTheme(themeName)));
        return QIcon::fromTheme(themeName);
    }
    return QIcon(new PaletteIconEngine(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(bundled)))));
}

} // namespace

QIcon AppIcons::actions() {
    return themedOrBundled(
        {"view-more-horizontal", "view-more", "open-menu", "view-more-horizontal-symbolic"}, "actions");
}

QIcon AppIcons::booksFolder() {
    return themedOrBundled({"accessories-dictionary", "folder-open"}, "books-folder");
}

QIcon AppIcons::kindleExport() {
    return themedOrBundled({"text-html", "document-open"}, "kindle-export");
}

QIcon AppIcons::checkmark() {
    return themedOrBundled({"object-select", "dialog-ok", "emblem-ok"}, "checkmark");
}

QIcon AppIcons::exportAnnotations() {
    return themedOrBundled({"document-export", "document-send", "emblem-shared", "document-send-symbolic"},
                           "export");
}

QIcon AppIcons::application() {
    QIcon themed = QIcon::fromTheme(QStringLiteral("notara"));
    return themed.isNull() ? QIcon(QStringLiteral(":/notara.svg")) : themed;
}

} // namespace notara
