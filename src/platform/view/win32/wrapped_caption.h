#pragma once

#include "form_font.h"

#include "text/caption_lines.h"

#include <string>

#include <windows.h>

namespace tavren::view::win32 {

// A caption fitted to the box its control was designed with, by the rule every
// view shares (text::fitCaption): broken into lines and, when the lines do not
// fit at the design's size, made smaller (down to 7.5 points; below that the
// lines that do not fit are cut). Holds the font at the size it fits in, for
// the window that shows it.
class WrappedCaption {
public:
    WrappedCaption(const std::string& caption, const LOGFONTW& font, int designPixelSize, SIZE box);

    const text::CaptionFit& fit() const { return fit_; }
    HFONT font() const { return font_.handle(); }
    // The lines as one text (UTF-8), a line break between two.
    std::string brokenText() const;

    // Draws the lines in `area` in the device context's text colour, each line
    // centred, the block of lines centred in the height.
    void drawCentred(HDC dc, const RECT& area) const;

private:
    static LOGFONTW atSize(LOGFONTW font, int pixelSize);

    text::CaptionFit fit_;
    OwnedFont font_;
};

} // namespace tavren::view::win32
