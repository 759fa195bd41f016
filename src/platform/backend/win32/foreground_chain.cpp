#include "foreground_chain.h"

namespace tavren::backend::win32 {

namespace {

// How long an accepted request may take to show before the call returns. The
// window's thread takes the activation when it next reads its messages, a few
// milliseconds later as a rule; callers that have not seen it by then ask
// again (the send pipeline does, a bounded number of times), which is harmless:
// only a refusal is ever pushed past.
constexpr auto kActivationWait = std::chrono::milliseconds(25);

// Attached for as long as it lives.
class InputAttachment {
public:
    InputAttachment(ForegroundCalls& calls, std::uint32_t ours, std::uint32_t theirs)
        : calls_(calls), ours_(ours), theirs_(theirs),
          attached_(calls.attachInput(ours, theirs, true)) {}
    ~InputAttachment() {
        if (attached_) calls_.attachInput(ours_, theirs_, false);
    }
    InputAttachment(const InputAttachment&) = delete;
    InputAttachment& operator=(const InputAttachment&) = delete;
    bool attached() const { return attached_; }

private:
    ForegroundCalls& calls_;
    std::uint32_t ours_;
    std::uint32_t theirs_;
    bool attached_;
};

bool inFront(ForegroundCalls& calls, services::WindowHandle window) {
    return calls.foreground() == window;
}

// After an accepted request: until the window shows in front, or the wait is over.
void awaitActivation(ForegroundCalls& calls, services::WindowHandle window) {
    std::chrono::microseconds waited{0};
    while (!inFront(calls, window) && waited < kActivationWait)
        waited += calls.pause();
}

// The request once more, made while attached to the input of the foreground
// window's thread, which the system lets set the foreground. Never to a thread
// that has stopped reading its messages: attached threads share one input
// state, and ours would stop with it.
bool askAttached(ForegroundCalls& calls, services::WindowHandle window) {
    const services::WindowHandle current = calls.foreground();
    if (current == 0) return false;
    const std::uint32_t ours = calls.currentThread();
    const std::uint32_t theirs = calls.threadOf(current);
    if (theirs == 0 || theirs == ours || calls.isHung(current)) return false;
    const InputAttachment attachment(calls, ours, theirs);
    return attachment.attached() && calls.setForeground(window);
}

} // namespace

void bringToFront(ForegroundCalls& calls, services::WindowHandle window,
                  services::FrontAllowance& press) {
    // A window that has been closed cannot come forward; anything done for it
    // would land on whatever is in front.
    if (window == 0 || !calls.exists(window)) return;
    // A minimised window can be the foreground window and still show nothing.
    if (calls.isMinimised(window)) calls.restore(window);
    if (inFront(calls, window)) return;

    if (!calls.setForeground(window)) {
        if (press.spent) return;
        press.spent = true;
        // The system lets the program that received the last input take the
        // foreground: input of ours that no window receives makes us that
        // program, where a key (Alt) would open the menu of whichever window
        // has the focus and take the order's first keys with it.
        calls.sendEmptyInput();
        if (!calls.setForeground(window) && !askAttached(calls, window)) return;
    }
    awaitActivation(calls, window);
}

} // namespace tavren::backend::win32
