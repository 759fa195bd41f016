#pragma once

#include "control.h"

namespace tavren::controls {

// A rectangle in whole pixels, by its edges; right >= left, bottom >= top.
struct PixelEdges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const PixelEdges&, const PixelEdges&) = default;
};

// Converts the controls' twips (1/1440 inch) to a screen's pixels and back.
// Twips per pixel is 1440 / DPI, separately for each axis. Each view asks its
// toolkit for the DPI and turns PixelEdges into its own rectangle type.
struct TwipsScale {
    double perPixelX = 15;
    double perPixelY = 15;

    static TwipsScale forDpi(double dpiX, double dpiY) { return {1440.0 / dpiX, 1440.0 / dpiY}; }

    int toPixelsX(double twips) const;
    int toPixelsY(double twips) const;
    double toTwipsX(int pixels) const;
    double toTwipsY(int pixels) const;

    // Edges are converted rather than sizes, so that neighbours that touch in
    // twips touch in pixels too.
    PixelEdges toPixels(const Rect& r) const;
};

} // namespace tavren::controls
