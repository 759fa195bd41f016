#pragma once

#include "platform/controls/control.h"

#include <vector>

namespace tavren::settings {

// How much of a window, in twips each way, must lie on one screen for the user
// to reach it (or the whole window, when it is smaller).
inline constexpr double kReachableTwips = 600;

// A window's outer geometry moved, when too little of it lies on any screen, onto
// the nearest screen: at least kReachableTwips of it on that screen and its top
// edge (the title bar) not above the screen. Otherwise, or without any screen
// known, the geometry as it is.
controls::Rect keepReachable(const controls::Rect& window,
                             const std::vector<controls::Rect>& screens);

} // namespace tavren::settings
