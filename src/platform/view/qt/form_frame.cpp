#include "form_frame.h"

namespace tavren::view::qt {

QSize clientPixels(const controls::Rect& outer, const TwipsScale& scale) {
    return QSize(controls::FormFrame::clientWidth(outer, scale),
                 controls::FormFrame::clientHeight(outer, scale));
}

QPoint framePixels(const controls::Rect& outer, const TwipsScale& scale) {
    return QPoint(scale.toPixelsX(outer.left), scale.toPixelsY(outer.top));
}

} // namespace tavren::view::qt
