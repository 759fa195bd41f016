#include "twips_scale.h"

namespace tavren::view::win32 {

TwipsScale systemTwipsScale() {
    HDC screen = ::GetDC(nullptr);
    if (!screen) return TwipsScale::forDpi(96, 96);
    const int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return TwipsScale::forDpi(dpiX > 0 ? dpiX : 96, dpiY > 0 ? dpiY : 96);
}

RECT toRect(const TwipsScale& scale, const controls::Rect& r) {
    const controls::PixelEdges edges = scale.toPixels(r);
    return RECT{edges.left, edges.top, edges.right, edges.bottom};
}

} // namespace tavren::view::win32
