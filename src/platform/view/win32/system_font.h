#pragma once

#include <windows.h>

namespace tavren::view::win32 {

// The user-interface font the system draws dialogs with (the message font of
// the non-client metrics), owned for as long as the windows that use it.
class SystemFont {
public:
    SystemFont();
    ~SystemFont();
    SystemFont(const SystemFont&) = delete;
    SystemFont& operator=(const SystemFont&) = delete;

    HFONT handle() const { return font_; }
    const LOGFONTW& description() const { return description_; }
    // The font's em in pixels.
    int pixelSize() const { return pixelSize_; }

private:
    LOGFONTW description_{};
    HFONT font_ = nullptr;
    int pixelSize_ = 12;
};

// A GDI font of its own, deleted with its owner.
class OwnedFont {
public:
    explicit OwnedFont(const LOGFONTW& description) : font_(::CreateFontIndirectW(&description)) {}
    ~OwnedFont() {
        if (font_) ::DeleteObject(font_);
    }
    OwnedFont(const OwnedFont&) = delete;
    OwnedFont& operator=(const OwnedFont&) = delete;
    HFONT handle() const { return font_; }

private:
    HFONT font_;
};

} // namespace tavren::view::win32
