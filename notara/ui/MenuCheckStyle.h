#pragma once

#include <QProxyStyle>

namespace notara {

// Draws every checkable entry of a menu the way "Hide Works with no Annotations" is drawn: the
// checkmark icon while it is on, nothing while it is off, instead of the style's check boxes
// beside it. The entries stay checkable, so accessibility tools still read their state.
class MenuCheckStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    // The one instance the window's menus share, owned by the application.
    static MenuCheckStyle* forMenus();

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;
};

} // namespace notara
