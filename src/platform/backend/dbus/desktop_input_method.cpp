#include "desktop_input_method.h"

namespace tavren::backend::dbus {

DesktopInputMethod::DesktopInputMethod() = default;

backend::x11::InputMethod* DesktopInputMethod::serving() {
    if (fcitx5_.running()) return &fcitx5_;
    if (ibus_.running()) return &ibus_;
    return nullptr;
}

void DesktopInputMethod::catchUp() {
    if (auto* method = serving()) method->catchUp();
}

bool DesktopInputMethod::running() {
    return serving() != nullptr;
}

std::unique_ptr<backend::x11::InputMethod::Suspension>
DesktopInputMethod::turnToDirectInput(unsigned long window) {
    if (auto* method = serving()) return method->turnToDirectInput(window);
    return nullptr;
}

} // namespace tavren::backend::dbus
