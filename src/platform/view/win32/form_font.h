#pragma once

#include <windows.h>

namespace tavren::view::win32 {

// The font the forms' designs were measured in: "MS UI Gothic", the compact
// user-interface font of Japanese Windows, at 9 points in the system DPI's
// pixels; where it is missing, the font the system draws dialogs with (the
// message font of the non-client metrics). Owned for as long as the windows
// that use it.
class FormFont {
public:
    FormFont();
    ~FormFont();
    FormFont(const FormFont&) = delete;
    FormFont& operator=(const FormFont&) = delete;

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
