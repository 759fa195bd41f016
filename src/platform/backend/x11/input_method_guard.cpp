#include "platform/backend/x11/input_method_guard.h"

#include <thread>

namespace tavren::backend::x11 {

std::optional<bool> InputMethodGuard::finished(services::TypeResult result, bool keysSent,
                                               bool giveBackInBand) {
    keysSent_ = keysSent;
    if (!suspension_) return std::nullopt;
    if (result == services::TypeResult::Interrupted) {
        settled_ = true;
        suspension_->abandon();
        return std::nullopt;
    }
    if (result != services::TypeResult::Typed || !giveBackInBand) return std::nullopt;
    settled_ = true;
    suspension_->givenBack();
    // Asked of the focused window's input context: only while the window
    // keeps the focus.
    const auto giveUp = std::chrono::steady_clock::now() + kInputMethodPatience;
    while (target_.isForeground()) {
        const auto done = suspension_->tookEffect();
        if (!done || *done) return done;
        if (std::chrono::steady_clock::now() >= giveUp) return false;
        std::this_thread::sleep_for(kInputMethodPoll);
    }
    return std::nullopt;
}

void InputMethodGuard::catchUp() {
    if (!inputMethod_) return;
    target_.waitUntilProcessed();
    inputMethod_->catchUp();
    target_.waitUntilProcessed();
}

} // namespace tavren::backend::x11
