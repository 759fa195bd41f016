#include "twips_scale.h"

#include <algorithm>
#include <cmath>

namespace tavren::controls {

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

PixelEdges TwipsScale::toPixels(const Rect& r) const {
    const int left = toPixelsX(r.left);
    const int top = toPixelsY(r.top);
    return {left, top, std::max(left, toPixelsX(r.left + r.width)),
            std::max(top, toPixelsY(r.top + r.height))};
}

} // namespace tavren::controls
