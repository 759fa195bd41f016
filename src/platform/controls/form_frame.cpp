#include "form_frame.h"

#include <algorithm>

namespace tavren::controls {

int FormFrame::clientWidth(const Rect& outer, const TwipsScale& scale) {
    return std::max(0, scale.toPixelsX(outer.width - kFrameWidth));
}

int FormFrame::clientHeight(const Rect& outer, const TwipsScale& scale) {
    return std::max(0, scale.toPixelsY(outer.height - kFrameHeight));
}

double FormFrame::outerWidth(int clientPixels, const TwipsScale& scale) {
    return scale.toTwipsX(clientPixels) + kFrameWidth;
}

double FormFrame::outerHeight(int clientPixels, const TwipsScale& scale) {
    return scale.toTwipsY(clientPixels) + kFrameHeight;
}

} // namespace tavren::controls
