#pragma once

#include "platform/controls/control.h"
#include "platform/controls/twips_scale.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace tavren::view::qt {

using controls::TwipsScale;

// The primary screen's logical DPI's scale; 96 DPI when there is no screen.
TwipsScale primaryScreenTwipsScale();

// A child control's rectangle, relative to its parent's client area.
QRect toQRect(const TwipsScale& scale, const controls::Rect& r);

// How a form's outer rectangle in twips maps to its window. The outer size has a
// fixed virtual frame: the window's client area below the menu bar is the outer
// size less kFrameWidth and kFrameHeight twips. Those are exactly the margins the
// behaviour subtracts when it sizes its panels to the window, so the panels fill
// the client area whatever the real decoration of the window manager is. The
// outer left and top are the position of the window's real frame.
struct FormFrame {
    static constexpr double kFrameWidth = 100;
    static constexpr double kFrameHeight = 580;

    // Pixel size of the area below the menu bar for an outer rectangle.
    static QSize clientPixels(const controls::Rect& outer, const TwipsScale& scale);
    static QPoint framePixels(const controls::Rect& outer, const TwipsScale& scale);
    // Outer size in twips for a client area measured in pixels, rounded to whole twips.
    static double outerWidth(int clientPixels, const TwipsScale& scale);
    static double outerHeight(int clientPixels, const TwipsScale& scale);
};

} // namespace tavren::view::qt
