#include "twips_scale.h"

#include <algorithm>
#include <cmath>

namespace tavren::win32 {

TwipsScale TwipsScale::ofSystem() {
    HDC screen = ::GetDC(nullptr);
    if (!screen) return forDpi(96, 96);
    const int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return forDpi(dpiX > 0 ? dpiX : 96, dpiY > 0 ? dpiY : 96);
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

RECT TwipsScale::toPixels(const controls::Rect& r) const {
    const int left = toPixelsX(r.left);
    const int top = toPixelsY(r.top);
    const int right = std::max(left, toPixelsX(r.left + r.width));
    const int bottom = std::max(top, toPixelsY(r.top + r.height));
    return RECT{left, top, right, bottom};
}

} // namespace tavren::win32
