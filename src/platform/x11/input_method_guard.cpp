#include "platform/x11/input_method_guard.h"

#include <thread>

namespace tavren::x11 {

void InputMethodGuard::finished(services::TypeResult result, bool keysSent, bool giveBackInBand) {
    keysSent_ = keysSent;
    if (!suspension_) return;
    if (result == services::TypeResult::Typed && giveBackInBand) {
        settled_ = true;
        suspension_->givenBack();
        // Asked of the focused window's input context: only while the
        // window keeps the focus.
        const auto giveUp = std::chrono::steady_clock::now() + kInputMethodPatience;
        while (std::chrono::steady_clock::now() < giveUp && target_.isForeground()) {
            const auto done = suspension_->tookEffect();
            if (!done || *done) break;
            std::this_thread::sleep_for(kInputMethodPoll);
        }
    } else if (result == services::TypeResult::Interrupted) {
        settled_ = true;
        suspension_->abandon();
    }
}

void InputMethodGuard::catchUp() {
    if (!inputMethod_) return;
    target_.waitUntilProcessed();
    inputMethod_->catchUp();
    target_.waitUntilProcessed();
}

} // namespace tavren::x11
