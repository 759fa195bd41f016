#include "palette_colours.h"

namespace tavren::view::qt {

QPalette::ColorRole systemColourRole(controls::Colour colour) {
    // The roles of the classic system colour table, by index.
    struct Entry {
        int index;
        QPalette::ColorRole role;
    };
    static constexpr Entry kRoles[] = {
        {0x01, QPalette::Window},          // desktop
        {0x02, QPalette::Highlight},       // active caption
        {0x04, QPalette::Window},          // menu
        {0x05, QPalette::Base},            // window background
        {0x06, QPalette::Shadow},          // window frame
        {0x07, QPalette::WindowText},      // menu text
        {0x08, QPalette::Text},            // window text
        {0x09, QPalette::HighlightedText}, // caption text
        {0x0D, QPalette::Highlight},       // highlight
        {0x0E, QPalette::HighlightedText}, // highlighted text
        {0x0F, QPalette::Button},          // button face
        {0x10, QPalette::Dark},            // button shadow
        {0x11, QPalette::PlaceholderText}, // grey (disabled) text
        {0x12, QPalette::ButtonText},      // button text
        {0x14, QPalette::Light},           // 3D highlight
        {0x15, QPalette::Shadow},          // 3D dark shadow
        {0x16, QPalette::Midlight},        // 3D light
        {0x17, QPalette::ToolTipText},     // tool tip text
        {0x18, QPalette::ToolTipBase},     // tool tip background
    };
    const int index = controls::systemColourIndex(colour);
    for (const Entry& e : kRoles) {
        if (e.index == index) return e.role;
    }
    return QPalette::Window;
}

QColor toQColor(controls::Colour colour, const QPalette& theme) {
    if (controls::isSystemColour(colour)) return theme.color(systemColourRole(colour));
    return QColor(controls::red(colour), controls::green(colour), controls::blue(colour));
}

QPalette paletteWith(const QPalette& theme, QPalette::ColorRole role, controls::Colour colour) {
    QPalette palette = theme;
    const QColor painted = toQColor(colour, theme);
    palette.setColor(role, painted);
    // An auto-filled background is painted in the Window role: keep it the same
    // colour as a button's face so that the whole button shows it.
    if (role == QPalette::Button) palette.setColor(QPalette::Window, painted);
    return palette;
}

} // namespace tavren::view::qt
