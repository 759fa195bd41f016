#include "wrapped_caption.h"

#include "caption_metrics.h"

#include "platform/backend/win32/wide_text.h"

namespace tavren::view::win32 {

WrappedCaption::WrappedCaption(const std::string& caption, const LOGFONTW& font,
                               int designPixelSize, SIZE box)
    : fit_(fitCaptionIn(caption, font, designPixelSize, box)), font_(atSize(font, fit_.pixelSize)) {
}

LOGFONTW WrappedCaption::atSize(LOGFONTW font, int pixelSize) {
    font.lfHeight = -pixelSize;
    return font;
}

std::string WrappedCaption::brokenText() const {
    std::string text;
    for (std::size_t i = 0; i < fit_.lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += fit_.lines[i];
    }
    return text;
}

// A block centred in an odd pixel leaves the spare pixel above it, as the other
// view does: some glyphs (the voicing marks of kana) reach a pixel above the
// font's ascent.
void WrappedCaption::drawCentred(HDC dc, const RECT& area) const {
    HGDIOBJ old = ::SelectObject(dc, font_.handle());
    const UINT oldAlign = ::SetTextAlign(dc, TA_TOP | TA_LEFT);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    int top = area.top + (area.bottom - area.top - fit_.height() + 1) / 2;
    for (const std::string& line : fit_.lines) {
        const std::wstring wide = backend::win32::utf8ToWide(line);
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &extent);
        const int left = area.left + (area.right - area.left - extent.cx) / 2;
        ::TextOutW(dc, left, top, wide.data(), static_cast<int>(wide.size()));
        top += fit_.lineHeight;
    }
    ::SetBkMode(dc, oldMode);
    ::SetTextAlign(dc, oldAlign);
    ::SelectObject(dc, old);
}

} // namespace tavren::view::win32
