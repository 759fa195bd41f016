#pragma once

#include "platform/controls/control.h"

#include <windows.h>

namespace tavren::win32 {

// Converts the controls' twips (1/1440 inch) to the screen's pixels and back.
// Twips per pixel is 1440 / DPI, separately for each axis.
struct TwipsScale {
    double perPixelX = 15;
    double perPixelY = 15;

    static TwipsScale forDpi(double dpiX, double dpiY) { return {1440.0 / dpiX, 1440.0 / dpiY}; }
    // The system DPI. The process must be DPI-aware for it to be the real one:
    // otherwise Windows answers 96 and stretches the windows itself.
    static TwipsScale ofSystem();

    int toPixelsX(double twips) const;
    int toPixelsY(double twips) const;
    double toTwipsX(int pixels) const;
    double toTwipsY(int pixels) const;

    // A rectangle in pixels: edges are converted rather than sizes, so that
    // neighbours that touch in twips touch in pixels too.
    RECT toPixels(const controls::Rect& r) const;
};

} // namespace tavren::win32
