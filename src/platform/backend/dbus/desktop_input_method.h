#pragma once

#include "fcitx5_input_method.h"
#include "ibus_input_method.h"
#include "platform/backend/x11/input_method.h"

#include <memory>

namespace tavren::backend::dbus {

// Whichever input method serves the desktop when an order is typed: fcitx5 or
// ibus. Both are asked anew each time, so one started (or switched to) after
// Tavren is found too.
class DesktopInputMethod : public backend::x11::InputMethod {
public:
    DesktopInputMethod();

    void catchUp() override;
    bool running() override;
    std::unique_ptr<Suspension> turnToDirectInput(unsigned long window) override;

private:
    backend::x11::InputMethod* serving();

    Fcitx5InputMethod fcitx5_;
    IbusInputMethod ibus_;
};

} // namespace tavren::backend::dbus
