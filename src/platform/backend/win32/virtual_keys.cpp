#include "virtual_keys.h"

#include <windows.h>

namespace tavren::backend::win32 {

using services::NamedKey;

VirtualKey virtualKeyOf(NamedKey key) {
    switch (key) {
    case NamedKey::Enter:
        return {VK_RETURN, false};
    case NamedKey::Tab:
        return {VK_TAB, false};
    case NamedKey::Backspace:
        return {VK_BACK, false};
    case NamedKey::Delete:
        return {VK_DELETE, true};
    case NamedKey::Insert:
        return {VK_INSERT, true};
    case NamedKey::Home:
        return {VK_HOME, true};
    case NamedKey::End:
        return {VK_END, true};
    case NamedKey::PageUp:
        return {VK_PRIOR, true};
    case NamedKey::PageDown:
        return {VK_NEXT, true};
    case NamedKey::Up:
        return {VK_UP, true};
    case NamedKey::Down:
        return {VK_DOWN, true};
    case NamedKey::Left:
        return {VK_LEFT, true};
    case NamedKey::Right:
        return {VK_RIGHT, true};
    case NamedKey::Escape:
        return {VK_ESCAPE, false};
    case NamedKey::Break:
        return {VK_CANCEL, true};
    case NamedKey::CapsLock:
        return {VK_CAPITAL, false};
    case NamedKey::NumLock:
        return {VK_NUMLOCK, true};
    case NamedKey::ScrollLock:
        return {VK_SCROLL, false};
    case NamedKey::PrintScreen:
        return {VK_SNAPSHOT, true};
    case NamedKey::Help:
        return {VK_HELP, false};
    case NamedKey::KeypadAdd:
        return {VK_ADD, false};
    case NamedKey::KeypadSubtract:
        return {VK_SUBTRACT, false};
    case NamedKey::KeypadMultiply:
        return {VK_MULTIPLY, false};
    case NamedKey::KeypadDivide:
        return {VK_DIVIDE, true};
    default:
        break;
    }
    const int function = static_cast<int>(key) - static_cast<int>(NamedKey::F1);
    if (function >= 0 && function < 16) return {static_cast<std::uint8_t>(VK_F1 + function), false};
    return {};
}

} // namespace tavren::backend::win32
