#include "wrapped_caption.h"

#include "caption_lines.h"

#include <algorithm>
#include <cmath>

namespace tavren::view::win32 {
namespace {

// The ink of Japanese glyphs reaches about 0.83 em above the baseline and hardly
// below it: with the baseline at 0.85 em, lines one em apart hold them whole.
constexpr double kLineAscent = 0.85;

int widthOf(HDC dc, std::wstring_view text) {
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// A memory device context with a font selected, released on every way out.
class MeasuringContext {
public:
    explicit MeasuringContext(HFONT font) : dc_(::CreateCompatibleDC(nullptr)) {
        old_ = ::SelectObject(dc_, font);
    }
    ~MeasuringContext() {
        ::SelectObject(dc_, old_);
        ::DeleteDC(dc_);
    }
    MeasuringContext(const MeasuringContext&) = delete;
    MeasuringContext& operator=(const MeasuringContext&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace

WrappedCaption::WrappedCaption(const std::wstring& text, const LOGFONTW& font, int designPixelSize,
                               SIZE box)
    : font_(font) {
    for (int size = designPixelSize;; --size) {
        font_.lfHeight = -size;
        owned_ = std::make_unique<OwnedFont>(font_);
        size_ = size;
        const MeasuringContext measuring(owned_->handle());
        const auto measure = [&](std::wstring_view piece) {
            return widthOf(measuring.get(), piece);
        };
        lines_ = breakCaption(text, static_cast<int>(box.cx), measure);
        const bool widthFits = std::all_of(lines_.begin(), lines_.end(), [&](const auto& line) {
            return measure(line) <= box.cx;
        });
        fits_ = widthFits && height() <= box.cy;
        if (fits_ || size <= std::min(designPixelSize, kSmallestPixelSize)) return;
    }
}

void WrappedCaption::drawCentred(HDC dc, const RECT& area) const {
    HGDIOBJ old = ::SelectObject(dc, owned_->handle());
    const UINT oldAlign = ::SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    int top = area.top + (area.bottom - area.top - height()) / 2;
    const int ascent = static_cast<int>(std::lround(size_ * kLineAscent));
    for (const std::wstring& line : lines_) {
        const int x = area.left + (area.right - area.left - widthOf(dc, line)) / 2;
        ::TextOutW(dc, x, top + ascent, line.data(), static_cast<int>(line.size()));
        top += size_;
    }
    ::SetBkMode(dc, oldMode);
    ::SetTextAlign(dc, oldAlign);
    ::SelectObject(dc, old);
}

} // namespace tavren::view::win32
