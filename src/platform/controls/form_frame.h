#pragma once

#include "twips_scale.h"

namespace tavren::controls {

// How a form's outer rectangle in twips maps to its window, in every view. The
// outer size has a fixed virtual frame: the client area below the menu bar is the
// outer size less kFrameWidth and kFrameHeight twips, the margins the behaviour
// subtracts when it sizes its panels to the window, so that the panels fill the
// client area whatever frame the window system draws (Windows 10 and 11 draw a
// taller caption than the design's; a window manager draws its own). The outer
// left and top are those of the window's frame.
struct FormFrame {
    static constexpr double kFrameWidth = 100;
    static constexpr double kFrameHeight = 580;

    // The client area's size in pixels for an outer rectangle: empty, not
    // negative, for a window smaller than its frame.
    static int clientWidth(const Rect& outer, const TwipsScale& scale);
    static int clientHeight(const Rect& outer, const TwipsScale& scale);
    // The outer size in twips for a client area measured in pixels.
    static double outerWidth(int clientPixels, const TwipsScale& scale);
    static double outerHeight(int clientPixels, const TwipsScale& scale);
};

} // namespace tavren::controls
