#include "caption_metrics.h"

#include "platform/backend/win32/wide_text.h"

namespace tavren::view::win32 {

GdiCaptionMetrics::GdiCaptionMetrics(const LOGFONTW& font)
    : font_(font), dc_(::CreateCompatibleDC(nullptr)) {}

GdiCaptionMetrics::~GdiCaptionMetrics() {
    if (original_) ::SelectObject(dc_, original_);
    ::DeleteDC(dc_);
}

HFONT GdiCaptionMetrics::fontAt(int pixelSize) const {
    auto& owned = fonts_[pixelSize];
    if (!owned) {
        LOGFONTW sized = font_;
        sized.lfHeight = -pixelSize;
        sized.lfWidth = 0;
        owned = std::make_unique<OwnedFont>(sized);
    }
    return owned->handle();
}

void GdiCaptionMetrics::select(int pixelSize) const {
    HGDIOBJ previous = ::SelectObject(dc_, fontAt(pixelSize));
    if (!original_) original_ = previous;
}

int GdiCaptionMetrics::lineWidth(std::string_view line, int pixelSize) const {
    select(pixelSize);
    const std::wstring wide = backend::win32::utf8ToWide(std::string(line));
    SIZE size{};
    ::GetTextExtentPoint32W(dc_, wide.data(), static_cast<int>(wide.size()), &size);
    return size.cx;
}

int GdiCaptionMetrics::lineHeight(int pixelSize) const {
    select(pixelSize);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc_, &tm);
    return tm.tmAscent + tm.tmDescent;
}

text::CaptionFit fitCaptionIn(const std::string& caption, const LOGFONTW& font, int designPixelSize,
                              SIZE box) {
    const GdiCaptionMetrics metrics(font);
    return text::fitCaption(caption, static_cast<int>(box.cx), static_cast<int>(box.cy),
                            designPixelSize, metrics);
}

} // namespace tavren::view::win32
