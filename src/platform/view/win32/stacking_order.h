#pragma once

#include "twips_scale.h"

#include "platform/controls/control.h"

#include <vector>

namespace tavren::view::win32 {

// One child window to stack: its control, and its rank in the order the
// windows were created (the design's order, which is the tab order).
struct StackedChild {
    const controls::Control* control = nullptr;
    int creationRank = 0;
};

// The stacking of a container's child windows, top first. The dialog manager
// takes the keyboard's tab order from it (Tab walks the children from the top
// down), so it is the creation order, except where the controls say one child
// is drawn over another: a visible child that overlaps a visible sibling
// before it in the controls' order (bottom first) stands above it (the panel
// brought to the front, the "0.0" button over the box beside it). Controls
// designed edge to edge that round onto one shared line of pixels do not
// overlap: which of them draws that line does not show. Labels lie
// beneath every other window, as labels are drawn beneath windowed controls;
// they never take the focus, so the tab order keeps its runs without them.
//
// `children` are given in the controls' order, bottom first.
std::vector<const controls::Control*> stackingOrder(const std::vector<StackedChild>& children,
                                                    const TwipsScale& scale);

} // namespace tavren::view::win32
