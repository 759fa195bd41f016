#include "twips_scale.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace tavren::qt {

TwipsScale TwipsScale::ofPrimaryScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return forDpi(96, 96);
    return forDpi(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
}

int TwipsScale::toPixelsX(double twips) const {
    return static_cast<int>(std::lround(twips / perPixelX));
}
int TwipsScale::toPixelsY(double twips) const {
    return static_cast<int>(std::lround(twips / perPixelY));
}
double TwipsScale::toTwipsX(int pixels) const {
    return std::round(pixels * perPixelX);
}
double TwipsScale::toTwipsY(int pixels) const {
    return std::round(pixels * perPixelY);
}

QRect TwipsScale::toPixels(const controls::Rect& r) const {
    // Edges are converted rather than sizes, so that neighbours that touch in
    // twips touch in pixels too.
    const int left = toPixelsX(r.left);
    const int top = toPixelsY(r.top);
    const int right = toPixelsX(r.left + r.width);
    const int bottom = toPixelsY(r.top + r.height);
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
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

} // namespace tavren::qt
