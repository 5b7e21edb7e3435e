#include "notara/ui/AppIcons.h"

#include <initializer_list>

namespace notara {

namespace {

QIcon themedOrBundled(std::initializer_list<const char*> themeNames, const char* bundled) {
    for (const char* name : themeNames) {
        const QString themeName = QString::fromLatin1(name);
        if (QIcon::hasThemeIcon(themeName)) return QIcon::fromTheme(themeName);
    }
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(bundled)));
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
