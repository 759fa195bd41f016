#include "twips_scale.h"

#include <QGuiApplication>
#include <QScreen>

namespace tavren::view::qt {

TwipsScale primaryScreenTwipsScale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return TwipsScale::forDpi(96, 96);
    return TwipsScale::forDpi(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
}

QRect toQRect(const TwipsScale& scale, const controls::Rect& r) {
    const controls::PixelEdges edges = scale.toPixels(r);
    return QRect(edges.left, edges.top, edges.right - edges.left, edges.bottom - edges.top);
}

} // namespace tavren::view::qt
