#pragma once

#include <QIcon>
#include <QIconEngine>

namespace notara {

// A one-colour icon (a bundled outline, a theme's "-symbolic" icon) painted in the palette's
// text colour at the moment it is drawn, so it stays visible on dark backgrounds and follows a
// change of palette without being set again.
class PaletteIconEngine : public QIconEngine {
public:
    explicit PaletteIconEngine(QIcon shape);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;

private:
    QIcon _shape;
};

} // namespace notara
