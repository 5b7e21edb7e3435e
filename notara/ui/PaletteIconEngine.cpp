#include "notara/ui/PaletteIconEngine.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace notara {

PaletteIconEngine::PaletteIconEngine(QIcon shape) : _shape(std::move(shape)) {}

void PaletteIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) {
    const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, scale));
}

QPixmap PaletteIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return scaledPixmap(size, mode, state, 1.0);
}

QPixmap PaletteIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                                        qreal scale) {
    QPixmap pixmap = _shape.pixmap(size, scale, QIcon::Normal, state);
    if (pixmap.isNull()) return pixmap;
    const QPalette palette = QGuiApplication::palette();
    const QColor colour = mode == QIcon::Disabled   ? palette.color(QPalette::Disabled, QPalette::WindowText)
                          : mode == QIcon::Selected ? palette.color(QPalette::HighlightedText)
                                                    : palette.color(QPalette::WindowText);
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn); // keep the shape, take the colour
    painter.fillRect(pixmap.rect(), colour);
    return pixmap;
}

QSize PaletteIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State state) {
    return _shape.actualSize(size, QIcon::Normal, state);
}

QIconEngine* PaletteIconEngine::clone() const {
    return new PaletteIconEngine(_shape);
}

QString PaletteIconEngine::key() const {
    return QStringLiteral("notara-palette");
}

} // namespace notara
