#pragma once

#include "twips_scale.h"

#include "platform/controls/control.h"

#include <windows.h>

namespace tavren::view::win32 {

// How a form's outer rectangle in twips maps to its window, as in the other
// view. The outer size has a fixed virtual frame: the client area below the
// menu bar is the outer size less kFrameWidth and kFrameHeight twips, the
// margins the behaviour subtracts when it sizes its panels to the window, so
// that the panels fill the client area whatever frame Windows draws (Windows
// 10 and 11 draw a taller caption than the design's, and the user may choose
// any). The outer left and top are those of the window's own rectangle.
struct FormFrame {
    static constexpr double kFrameWidth = 100;
    static constexpr double kFrameHeight = 580;

    // Pixel size of the client area for an outer rectangle.
    static SIZE clientPixels(const controls::Rect& outer, const TwipsScale& scale);
    // Outer size in twips for a client area measured in pixels.
    static double outerWidth(int clientPixels, const TwipsScale& scale);
    static double outerHeight(int clientPixels, const TwipsScale& scale);
};

// The size of `window` around a client area of `client` pixels: its border,
// caption and menu bar (one line of it) as Windows draws them for the window,
// at the window's own DPI where Windows scales frames per monitor.
SIZE windowSizeAround(HWND window, SIZE client);

} // namespace tavren::view::win32
