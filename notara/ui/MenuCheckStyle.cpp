#include "notara/ui/MenuCheckStyle.h"

#include "notara/ui/AppIcons.h"

#include <QApplication>
#include <QPointer>
#include <QStyleOptionMenuItem>

namespace notara {

namespace {

// The entry as the style should see it: not checkable, with the checkmark as its icon when on.
QStyleOptionMenuItem asPlainEntry(const QStyleOptionMenuItem& item) {
    QStyleOptionMenuItem plain(item);
    if (item.checkType == QStyleOptionMenuItem::NotCheckable) return plain;
    if (item.checked) plain.icon = AppIcons::checkmark();
    plain.checkType = QStyleOptionMenuItem::NotCheckable;
    plain.checked = false;
    return plain;
}

} // namespace

MenuCheckStyle* MenuCheckStyle::forMenus() {
    static QPointer<MenuCheckStyle> style;
    if (!style) {
        style = new MenuCheckStyle; // follows the application's style, whichever it is
        style->setParent(qApp);
    }
    return style;
}

void MenuCheckStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const {
    if (element == CE_MenuItem) {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            const QStyleOptionMenuItem plain = asPlainEntry(*item);
            QProxyStyle::drawControl(element, &plain, painter, widget);
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

QSize MenuCheckStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                       const QWidget* widget) const {
    if (type == CT_MenuItem) {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            const QStyleOptionMenuItem plain = asPlainEntry(*item);
            return QProxyStyle::sizeFromContents(type, &plain, size, widget);
        }
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

} // namespace notara
