#pragma once

#include "platform/backend/x11/input_method.h"

#include <chrono>
#include <map>
#include <memory>
#include <string>

namespace tavren::backend::dbus {

class BusConnection;

// fcitx5, through its controller on the session bus and its own hot keys. Its
// state is per input context: "active" (an input method such as mozc) or
// "inactive" (the group's keyboard layout, which hands keys on as they are).
// An active context is made inactive for the order with fcitx5's deactivate
// key and active again after it with the activate key, both typed with the
// order's keys, so each takes effect exactly where it stands among them. Made
// active again, the context has its input method back in the mode it was in.
class Fcitx5InputMethod : public backend::x11::InputMethod {
public:
    // The user's session bus, as sessionBusAddress() finds it.
    Fcitx5InputMethod();
    explicit Fcitx5InputMethod(std::string busAddress);
    ~Fcitx5InputMethod() override;
    Fcitx5InputMethod(const Fcitx5InputMethod&) = delete;
    Fcitx5InputMethod& operator=(const Fcitx5InputMethod&) = delete;

    void catchUp() override;
    bool running() override;
    std::unique_ptr<Suspension> turnToDirectInput(unsigned long window) override;

    // How long an activate key typed into a window may still be on its way to
    // fcitx5 where the window cannot tell when it has read its keys (a
    // terminal's XIM): as long as key bindings are kept for such windows.
    static constexpr std::chrono::milliseconds kKeyInFlight{2000};

private:
    class Suspension;

    std::unique_ptr<BusConnection> bus_;
    // When the activate key was last typed into each window.
    std::map<unsigned long, std::chrono::steady_clock::time_point> givenBack_;
};

} // namespace tavren::backend::dbus
