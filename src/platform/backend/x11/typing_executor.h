#pragma once

#include "platform/backend/x11/input_method_guard.h"
#include "platform/backend/x11/lingering_bindings.h"
#include "platform/backend/x11/synthesis_ledger.h"
#include "platform/backend/x11/target_window.h"
#include "platform/backend/x11/typing_plan.h"
#include "platform/services/keyboard.h"

#include <X11/Xlib.h>

#include <cstddef>
#include <vector>

namespace tavren::backend::x11 {

// Carries out a typing plan through XTest, into the target and nowhere else:
// sends its keys, binds and waits where it says, and nothing else. Every key
// it fakes is noted in the ledger first.
//
// Keys go out in batches under one server grab, after one foreground check
// each. A key the user holds down on the core keyboard makes its stroke wait,
// bounded, for the user to let go.
//
// What the plan released or unlocked is put back when the executor goes, on
// every path: made before the input method is turned for the order, it goes
// after the input method has its state back.
class TypingExecutor {
public:
    // Everything is borrowed. Nothing is sent before run().
    TypingExecutor(Display* display, SynthesisLedger& ledger, LingeringBindings& bindings,
                   TargetWindow& target);
    ~TypingExecutor();
    TypingExecutor(const TypingExecutor&) = delete;
    TypingExecutor& operator=(const TypingExecutor&) = delete;

    // `plan` must be possible. Interrupted as soon as the target is not in
    // front; Failed when a binding cannot be made or a key the user holds is
    // not let go in time.
    services::TypeResult run(const TypingPlan& plan, InputMethodGuard& inputMethod);

    // Whether any key of the plan went out.
    bool typedAny() const { return typedAny_; }

private:
    services::TypeResult typeKeys(const std::vector<TypingStep>& steps, std::size_t& next);
    void press(KeyCode keycode);
    void release(KeyCode keycode);
    void tap(const Key& key);

    Display* display_;
    SynthesisLedger& ledger_;
    LingeringBindings& bindings_;
    TargetWindow& target_;
    std::vector<KeyCode> released_;
    bool capsLockUnlocked_ = false;
    bool typedAny_ = false;
    std::size_t waitedAt_ = static_cast<std::size_t>(-1);
    std::chrono::steady_clock::time_point giveUp_{};
};

} // namespace tavren::backend::x11
