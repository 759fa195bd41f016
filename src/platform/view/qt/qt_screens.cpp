#include "qt_screens.h"

#include <QGuiApplication>
#include <QScreen>

namespace tavren::view::qt {

std::vector<controls::Rect> QtScreens::availableGeometries() {
    std::vector<controls::Rect> result;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect r = screen->availableGeometry();
        result.push_back({scale_.toTwipsX(r.x()), scale_.toTwipsY(r.y()),
                          scale_.toTwipsX(r.width()), scale_.toTwipsY(r.height())});
    }
    return result;
}

} // namespace tavren::view::qt
