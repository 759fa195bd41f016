#pragma once

#include "platform/backend/x11/synthesis_ledger.h"
#include "platform/backend/x11/x11_key_monitor.h"
#include "platform/backend/x11/x11_keyboard.h"

#include <memory>

namespace tavren::backend::x11 {

// The keyboard and the key monitor of one program, sharing the ledger through
// which the monitor ignores the keyboard's own keys. Each has its own connection.
struct X11Input {
    SynthesisLedger ledger;
    X11Keyboard keyboard;
    X11KeyMonitor monitor;

    // nullptr: $DISPLAY. Throws std::runtime_error as the two constructors do.
    // `inputMethod` as X11Keyboard takes it.
    explicit X11Input(const char* displayName, InputMethod* inputMethod = nullptr)
        : keyboard(displayName, ledger, inputMethod), monitor(displayName, ledger) {}
};

std::unique_ptr<X11Input> openX11Input(const char* displayName = nullptr,
                                       InputMethod* inputMethod = nullptr);

} // namespace tavren::backend::x11
