#pragma once

#include "platform/backend/x11/input_method.h"
#include "platform/backend/x11/target_window.h"
#include "platform/services/keyboard.h"

#include <chrono>
#include <memory>
#include <optional>

namespace tavren::backend::x11 {

// The target's input method passes keys on as they are while the order is
// typed, and has its state back after the order's last key.
class InputMethodGuard {
public:
    // An input method reading keys from a terminal through XIM works through a
    // long order for seconds after it was typed; the keycodes' bindings stay
    // until it is done, or this long.
    static constexpr std::chrono::milliseconds kInputMethodPatience{10000};
    static constexpr std::chrono::milliseconds kInputMethodPoll{2};

    InputMethodGuard(InputMethod* inputMethod, TargetWindow& target)
        : inputMethod_(inputMethod && inputMethod->running() ? inputMethod : nullptr),
          target_(target) {
        if (!inputMethod_) return;
        // The input method acts on the input context that has the focus: the
        // window's own once the window has read its focus change.
        target_.waitUntilProcessed();
        suspension_ = inputMethod_->turnToDirectInput(target_.window());
    }
    ~InputMethodGuard() {
        if (!suspension_) return;
        // Over the bus, which overtakes keys still on their way: only once
        // every key typed went through.
        if (keysSent_ && !settled_) catchUp();
        suspension_.reset();
    }
    InputMethodGuard(const InputMethodGuard&) = delete;
    InputMethodGuard& operator=(const InputMethodGuard&) = delete;

    bool runs() const { return inputMethod_ != nullptr; }
    std::optional<InputMethodKey> directKey() const {
        return suspension_ ? suspension_->directKey() : std::nullopt;
    }
    void turnNow() {
        if (suspension_) suspension_->turnNow();
    }
    std::optional<InputMethodKey> giveBackKey() const {
        return suspension_ ? suspension_->giveBackKey() : std::nullopt;
    }

    // Whether the input method hands characters on to the window as text.
    bool handsCharactersOnAsText() const {
        return suspension_ && suspension_->handsCharactersOnAsText();
    }

    // How the order went: typed whole, its last key (the give-back key, when
    // `giveBackInBand`) included; or stopped by the focus moving on. Returns
    // once the input method has handled the order's every key where that can
    // be seen, or after a bounded wait: true when it showed it had, false when
    // it did not within the wait although the window kept the focus, nothing
    // when it cannot tell.
    std::optional<bool> finished(services::TypeResult result, bool keysSent, bool giveBackInBand);

    // Returns once every key typed so far went through the input method and
    // the window acted on it: the window has read them all, so it has handed
    // them all to the input method; the input method has caught up with what
    // it was handed; and the window has read the input method's answers.
    // Without an input method, at once.
    void catchUp();

private:
    InputMethod* inputMethod_;
    TargetWindow& target_;
    std::unique_ptr<InputMethod::Suspension> suspension_;
    bool keysSent_ = false;
    // Given back with its key, or left as it is: nothing to do over the bus.
    bool settled_ = false;
};

} // namespace tavren::backend::x11
