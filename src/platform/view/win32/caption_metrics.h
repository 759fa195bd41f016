#pragma once

#include "form_font.h"

#include "text/caption_lines.h"

#include <map>
#include <memory>

#include <windows.h>

namespace tavren::view::win32 {

// Measures captions in a GDI font at any pixel size (the font asked for at a
// height of -size, the em), for the rule that breaks and sizes captions.
class GdiCaptionMetrics : public text::CaptionMetrics {
public:
    explicit GdiCaptionMetrics(const LOGFONTW& font);
    ~GdiCaptionMetrics() override;
    GdiCaptionMetrics(const GdiCaptionMetrics&) = delete;
    GdiCaptionMetrics& operator=(const GdiCaptionMetrics&) = delete;

    int lineWidth(std::string_view line, int pixelSize) const override;
    int lineHeight(int pixelSize) const override;

    // The font at that size, owned by these metrics.
    HFONT fontAt(int pixelSize) const;

private:
    void select(int pixelSize) const;

    LOGFONTW font_;
    HDC dc_;
    mutable HGDIOBJ original_ = nullptr;
    mutable std::map<int, std::unique_ptr<OwnedFont>> fonts_;
};

// The caption fitted to a box of `box` pixels in `font`, designed at `designPixelSize`.
text::CaptionFit fitCaptionIn(const std::string& caption, const LOGFONTW& font, int designPixelSize,
                              SIZE box);

} // namespace tavren::view::win32
