#include "platform/backend/x11/keysyms.h"

#include <X11/keysym.h>

namespace tavren::backend::x11 {

using services::NamedKey;

KeySym keysymFor(NamedKey key) {
    switch (key) {
    case NamedKey::Enter:
        return XK_Return;
    case NamedKey::Tab:
        return XK_Tab;
    case NamedKey::Backspace:
        return XK_BackSpace;
    case NamedKey::Delete:
        return XK_Delete;
    case NamedKey::Insert:
        return XK_Insert;
    case NamedKey::Home:
        return XK_Home;
    case NamedKey::End:
        return XK_End;
    case NamedKey::PageUp:
        return XK_Prior;
    case NamedKey::PageDown:
        return XK_Next;
    case NamedKey::Up:
        return XK_Up;
    case NamedKey::Down:
        return XK_Down;
    case NamedKey::Left:
        return XK_Left;
    case NamedKey::Right:
        return XK_Right;
    case NamedKey::Escape:
        return XK_Escape;
    case NamedKey::Break:
        return XK_Break;
    case NamedKey::CapsLock:
        return XK_Caps_Lock;
    case NamedKey::NumLock:
        return XK_Num_Lock;
    case NamedKey::ScrollLock:
        return XK_Scroll_Lock;
    case NamedKey::PrintScreen:
        return XK_Print;
    case NamedKey::Help:
        return XK_Help;
    case NamedKey::KeypadAdd:
        return XK_KP_Add;
    case NamedKey::KeypadSubtract:
        return XK_KP_Subtract;
    case NamedKey::KeypadMultiply:
        return XK_KP_Multiply;
    case NamedKey::KeypadDivide:
        return XK_KP_Divide;
    default:
        break;
    }
    // F1 .. F16 are consecutive in both enumerations.
    return XK_F1 + (static_cast<int>(key) - static_cast<int>(NamedKey::F1));
}

KeySym keysymFor(char32_t c) {
    if ((c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0xFF)) return c;
    return 0x01000000 | c;
}

KeySym keysymFor(const services::KeyStroke& stroke) {
    return stroke.isNamed ? keysymFor(stroke.named) : keysymFor(stroke.character);
}

} // namespace tavren::backend::x11
