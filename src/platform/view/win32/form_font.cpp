#include "form_font.h"

#include <cmath>
#include <cstdlib>
#include <cwchar>

namespace tavren::view::win32 {
namespace {

// The compact UI font of Japanese Windows. The captions were laid out in it:
// today's UI fonts (Meiryo UI, Yu Gothic UI) stand taller and would need their
// lines cut.
constexpr wchar_t kDesignFace[] = L"MS UI Gothic";

int CALLBACK noteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// Whether the system has the font, itself or through a substitute.
bool hasFace(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = ::GetDC(nullptr);
    ::EnumFontFamiliesExW(screen, &wanted, &noteFound, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found;
}

} // namespace

FormFont::FormFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        description_ = metrics.lfMessageFont;
        if (hasFace(kDesignFace)) {
            // At the 9 points the captions were designed at, in this DPI's pixels.
            HDC screen = ::GetDC(nullptr);
            const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
            ::ReleaseDC(nullptr, screen);
            description_.lfHeight = -::MulDiv(9, dpi, 72);
            description_.lfWidth = 0;
            wcsncpy(description_.lfFaceName, kDesignFace, LF_FACESIZE - 1);
            description_.lfCharSet = DEFAULT_CHARSET;
        }
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

FormFont::~FormFont() {
    if (font_) ::DeleteObject(font_);
}

} // namespace tavren::view::win32
