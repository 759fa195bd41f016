#include "on_screen.h"

#include <algorithm>
#include <limits>

namespace tavren::settings {

namespace {

double overlap(double start, double length, double screenStart, double screenLength) {
    return std::min(start + length, screenStart + screenLength) - std::max(start, screenStart);
}

double gap(double start, double length, double screenStart, double screenLength) {
    return std::max({0.0, screenStart - (start + length), start - (screenStart + screenLength)});
}

double clampInto(double value, double low, double high) {
    return low <= high ? std::clamp(value, low, high) : low;
}

} // namespace

controls::Rect keepReachable(const controls::Rect& window,
                             const std::vector<controls::Rect>& screens) {
    const double needWidth = std::clamp(window.width, 0.0, kReachableTwips);
    const double needHeight = std::clamp(window.height, 0.0, kReachableTwips);
    const controls::Rect* nearest = nullptr;
    double nearestDistance = std::numeric_limits<double>::infinity();
    for (const auto& s : screens) {
        if (overlap(window.left, window.width, s.left, s.width) >= needWidth &&
            overlap(window.top, window.height, s.top, s.height) >= needHeight)
            return window;
        const double dx = gap(window.left, window.width, s.left, s.width);
        const double dy = gap(window.top, window.height, s.top, s.height);
        const double distance = dx * dx + dy * dy;
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = &s;
        }
    }
    if (!nearest) return window;
    const controls::Rect& s = *nearest;
    controls::Rect moved = window;
    moved.left =
        clampInto(window.left, s.left - window.width + needWidth, s.left + s.width - needWidth);
    moved.top = clampInto(window.top, s.top, s.top + s.height - needHeight);
    return moved;
}

} // namespace tavren::settings
