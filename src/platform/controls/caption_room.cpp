#include "caption_room.h"

#include <algorithm>
#include <iterator>

namespace tavren::controls {
namespace {

long long surface(const PixelEdges& r) {
    return static_cast<long long>(std::max(r.right - r.left, 0)) * std::max(r.bottom - r.top, 0);
}

} // namespace

PixelEdges captionRoomBeside(const PixelEdges& area, const PixelEdges& cover) {
    const PixelEdges overlap{std::max(area.left, cover.left), std::max(area.top, cover.top),
                             std::min(area.right, cover.right),
                             std::min(area.bottom, cover.bottom)};
    if (surface(overlap) == 0) return area;
    const PixelEdges parts[] = {
        {area.left, area.top, area.right, overlap.top},
        {area.left, overlap.bottom, area.right, area.bottom},
        {area.left, area.top, overlap.left, area.bottom},
        {overlap.right, area.top, area.right, area.bottom},
    };
    return *std::max_element(
        std::begin(parts), std::end(parts),
        [](const PixelEdges& a, const PixelEdges& b) { return surface(a) < surface(b); });
}

} // namespace tavren::controls
