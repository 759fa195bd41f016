#include "system_font.h"

#include <cmath>
#include <cstdlib>

namespace tavren::win32 {

SystemFont::SystemFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        description_ = metrics.lfMessageFont;
    } else {
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof description_, &description_);
    }
    font_ = ::CreateFontIndirectW(&description_);
    if (description_.lfHeight < 0) {
        pixelSize_ = -description_.lfHeight;
        return;
    }
    // A positive height is the cell's: the em is the cell less its internal leading.
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(screen, font_);
    TEXTMETRICW tm{};
    if (::GetTextMetricsW(screen, &tm)) pixelSize_ = tm.tmHeight - tm.tmInternalLeading;
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    description_.lfHeight = -pixelSize_;
}

SystemFont::~SystemFont() {
    if (font_) ::DeleteObject(font_);
}

} // namespace tavren::win32
