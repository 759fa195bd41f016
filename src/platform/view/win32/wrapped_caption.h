#pragma once

#include "system_font.h"

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

namespace tavren::view::win32 {

// A caption laid out to fit the rectangle its control was designed with: broken
// into lines (breakCaption) at the width of the box, the lines one em apart
// rather than at the font's looser line spacing, and laid out at smaller sizes,
// down to kSmallestPixelSize, while its lines do not fit the box.
class WrappedCaption {
public:
    static constexpr int kSmallestPixelSize = 8;

    WrappedCaption(const std::wstring& text, const LOGFONTW& font, int designPixelSize, SIZE box);

    const std::vector<std::wstring>& lines() const { return lines_; }
    int pixelSize() const { return size_; }
    int height() const { return static_cast<int>(lines_.size()) * size_; }
    bool fits() const { return fits_; }

    // Draws the lines centred in `area`, in the device context's text colour.
    void drawCentred(HDC dc, const RECT& area) const;

private:
    LOGFONTW font_;
    std::unique_ptr<OwnedFont> owned_;
    std::vector<std::wstring> lines_;
    int size_ = 0;
    bool fits_ = false;
};

} // namespace tavren::view::win32
