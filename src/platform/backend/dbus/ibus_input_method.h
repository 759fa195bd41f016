#pragma once

#include "platform/backend/x11/input_method.h"

#include <memory>
#include <string>

namespace tavren::backend::dbus {

class BusConnection;
class IbusTypingEngine;

// ibus, through its daemon's own bus. ibus serves one engine to every window
// (its default); that engine (mozc, or a keyboard engine with its compose
// sequences) is swapped for this program's own for the order, and back once
// ibus has handled every key. Where ibus does not take the engine, a keyboard
// engine stands in for an input method engine.
class IbusInputMethod : public backend::x11::InputMethod {
public:
    IbusInputMethod();
    ~IbusInputMethod() override;
    IbusInputMethod(const IbusInputMethod&) = delete;
    IbusInputMethod& operator=(const IbusInputMethod&) = delete;

    void catchUp() override;
    bool running() override;
    std::unique_ptr<Suspension> turnToDirectInput(unsigned long window) override;

private:
    std::unique_ptr<BusConnection> bus_;
    std::unique_ptr<IbusTypingEngine> engine_;
};

// The address of ibus's bus for the display `display` ($DISPLAY): $IBUS_ADDRESS,
// else what the daemon wrote in $XDG_CONFIG_HOME/ibus/bus/MACHINE-HOST-NUMBER;
// "" when there is none.
std::string ibusAddress(const std::string& display);

} // namespace tavren::backend::dbus
