#include "stacking_order.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <queue>
#include <tuple>

namespace tavren::view::win32 {
namespace {

// More than one line of pixels in common, both ways.
bool overlaps(const controls::Rect& a, const controls::Rect& b, const TwipsScale& scale) {
    const controls::PixelEdges p = scale.toPixels(a);
    const controls::PixelEdges q = scale.toPixels(b);
    return std::min(p.right, q.right) - std::max(p.left, q.left) > 1 &&
           std::min(p.bottom, q.bottom) - std::max(p.top, q.top) > 1;
}

bool isLabel(const controls::Control& control) {
    return control.kind() == controls::Kind::Label;
}

} // namespace

std::vector<const controls::Control*> stackingOrder(const std::vector<StackedChild>& children,
                                                    const TwipsScale& scale) {
    const std::size_t n = children.size();
    // below[i]: the children that child i must stand above; waiting[i]: how
    // many children that must stand above child i are not placed yet.
    std::vector<std::vector<std::size_t>> below(n);
    std::vector<int> waiting(n, 0);
    for (std::size_t back = 0; back < n; ++back) {
        const controls::Control& lower = *children[back].control;
        if (!lower.visible() || isLabel(lower)) continue;
        for (std::size_t front = back + 1; front < n; ++front) {
            const controls::Control& upper = *children[front].control;
            if (!upper.visible() || isLabel(upper)) continue;
            if (!overlaps(lower.geometry(), upper.geometry(), scale)) continue;
            below[front].push_back(back);
            ++waiting[back];
        }
    }
    // Of the children free to be placed next, the first created; labels last.
    using Candidate = std::tuple<bool, int, std::size_t>; // label, rank, position
    std::priority_queue<Candidate, std::vector<Candidate>, std::greater<>> free;
    const auto offer = [&](std::size_t i) {
        free.emplace(isLabel(*children[i].control), children[i].creationRank, i);
    };
    for (std::size_t i = 0; i < n; ++i)
        if (waiting[i] == 0) offer(i);
    std::vector<const controls::Control*> order;
    order.reserve(n);
    while (!free.empty()) {
        const std::size_t next = std::get<2>(free.top());
        free.pop();
        order.push_back(children[next].control);
        for (std::size_t lower : below[next])
            if (--waiting[lower] == 0) offer(lower);
    }
    return order;
}

} // namespace tavren::view::win32
