#pragma once

#include "platform/x11/input_method.h"

#include <memory>
#include <string>

namespace tavren::dbus {

class BusConnection;

// fcitx5, through its controller on the session bus. Its state is per input
// context: "active" (an input method such as mozc) or "inactive" (the group's
// keyboard layout, which hands keys on as they are). An active focused context
// is made inactive for the order and active again afterwards, which brings back
// the input method it had, in the mode it was in.
class Fcitx5InputMethod : public x11::InputMethod {
public:
    // The user's session bus, as sessionBusAddress() finds it.
    Fcitx5InputMethod();
    explicit Fcitx5InputMethod(std::string busAddress);
    ~Fcitx5InputMethod() override;
    Fcitx5InputMethod(const Fcitx5InputMethod&) = delete;
    Fcitx5InputMethod& operator=(const Fcitx5InputMethod&) = delete;

    void catchUp() override;
    bool running() override;
    std::unique_ptr<Suspension> turnToDirectInput() override;

private:
    std::unique_ptr<BusConnection> bus_;
};

} // namespace tavren::dbus
