#include "twips_scale.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

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

QSize FormFrame::clientPixels(const controls::Rect& outer, const TwipsScale& scale) {
    return QSize(std::max(0, scale.toPixelsX(outer.width - kFrameWidth)),
                 std::max(0, scale.toPixelsY(outer.height - kFrameHeight)));
}

QPoint FormFrame::framePixels(const controls::Rect& outer, const TwipsScale& scale) {
    return QPoint(scale.toPixelsX(outer.left), scale.toPixelsY(outer.top));
}

double FormFrame::outerWidth(int clientPixels, const TwipsScale& scale) {
    return scale.toTwipsX(clientPixels) + kFrameWidth;
}

double FormFrame::outerHeight(int clientPixels, const TwipsScale& scale) {
    return scale.toTwipsY(clientPixels) + kFrameHeight;
}

} // namespace tavren::view::qt
