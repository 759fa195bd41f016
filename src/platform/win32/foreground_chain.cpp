#include "foreground_chain.h"

namespace tavren::win32 {

namespace {

// Attached for as long as it lives.
class InputAttachment {
public:
    InputAttachment(ForegroundCalls& calls, std::uint32_t ours, std::uint32_t theirs)
        : calls_(calls), ours_(ours), theirs_(theirs),
          attached_(ours != 0 && theirs != 0 && ours != theirs &&
                    calls.attachInput(ours, theirs, true)) {}
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

} // namespace

FrontResult bringToFront(ForegroundCalls& calls, services::WindowHandle window) {
    if (window == 0) return FrontResult::Refused;
    // A minimised window can be the foreground window and still show nothing.
    if (calls.isMinimised(window)) calls.restore(window);
    if (inFront(calls, window)) return FrontResult::AlreadyInFront;

    if (calls.setForeground(window) && inFront(calls, window)) return FrontResult::Plain;

    const services::WindowHandle current = calls.foreground();
    if (current != 0) {
        const InputAttachment attachment(calls, calls.currentThread(), calls.threadOf(current));
        if (attachment.attached() && calls.setForeground(window) && inFront(calls, window))
            return FrontResult::AttachedInput;
    }

    calls.tapAlt();
    if (calls.setForeground(window) && inFront(calls, window)) return FrontResult::AfterAltTap;
    return FrontResult::Refused;
}

} // namespace tavren::win32
