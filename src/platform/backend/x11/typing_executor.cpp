#include "platform/backend/x11/typing_executor.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <variant>

namespace tavren::backend::x11 {
namespace {

using services::TypeResult;

// How long a key the user holds may keep its stroke waiting: a tap's press is
// over in a tenth of a second, and a key held longer than this repeats for the
// user anyway.
constexpr auto kHeldKeyPatience = std::chrono::milliseconds(1000);
constexpr auto kHeldKeyPoll = std::chrono::milliseconds(2);

// How many keys go out under one server grab. Every other client waits
// meanwhile, the window manager included: a few hundred key events keep the
// server for about a millisecond, and one focus check covers them all.
constexpr std::size_t kKeysPerGrab = 64;

// Whether the core keyboard has the key down, whichever device holds it.
bool isDownNow(Display* display, KeyCode keycode) {
    KeyBits keys{};
    XQueryKeymap(display, keys.data());
    return isDown(keys, keycode);
}

// The server serves this connection alone while the object lives: nothing that
// another client asks for (a window manager's focus change above all) can come
// between the requests made meanwhile. Kept to a few requests, since every other
// program waits.
class ServerGrab {
public:
    explicit ServerGrab(Display* display) : display_(display) { XGrabServer(display_); }
    ~ServerGrab() {
        XUngrabServer(display_);
        XFlush(display_);
    }
    ServerGrab(const ServerGrab&) = delete;
    ServerGrab& operator=(const ServerGrab&) = delete;

private:
    Display* display_;
};

} // namespace

TypingExecutor::TypingExecutor(Display* display, SynthesisLedger& ledger,
                               LingeringBindings& bindings, TargetWindow& target)
    : display_(display), ledger_(ledger), bindings_(bindings), target_(target) {}

TypingExecutor::~TypingExecutor() {
    if (capsLockUnlocked_) XkbLockModifiers(display_, XkbUseCoreKbd, LockMask, LockMask);
    for (KeyCode keycode : released_)
        press(keycode);
    XFlush(display_);
}

TypeResult TypingExecutor::run(const TypingPlan& plan, InputMethodGuard& inputMethod) {
    const std::vector<TypingStep>& steps = plan.steps;
    for (std::size_t next = 0; next < steps.size();) {
        const TypingStep& step = steps[next];
        if (std::holds_alternative<Key>(step)) {
            const TypeResult result = typeKeys(steps, next);
            if (result != TypeResult::Typed) return result;
            continue;
        }
        if (const auto* modifier = std::get_if<ReleaseModifier>(&step)) {
            release(modifier->keycode);
            released_.push_back(modifier->keycode);
        } else if (std::holds_alternative<UnlockCapsLock>(step)) {
            XkbLockModifiers(display_, XkbUseCoreKbd, LockMask, 0);
            capsLockUnlocked_ = true;
        } else if (const auto* bind = std::get_if<Bind>(&step)) {
            if (!bindings_.bind(bind->bindings, plan.fourLevelType)) return TypeResult::Failed;
        } else if (std::holds_alternative<WaitForRead>(step)) {
            bindings_.waitUntilRebindable(typedAny_ ? target_.waitUntilProcessed() : true);
        } else if (std::holds_alternative<CatchUp>(step) && typedAny_) {
            // Outside any grab: the window and the input method answer.
            inputMethod.catchUp();
        }
        ++next;
    }
    return TypeResult::Typed;
}

// The keys from `next` up to the next step of another kind.
//
// The foreground check and the keys after it are one step under a server
// grab: a focus change that is under way is a request of the window manager,
// so it is either done before the check, which then sees it, or waits until
// the keys have been delivered where the check found the focus.
//
// A key that is already down on the core keyboard (the user holding it, as
// Enter is still held when it sends the send box) would be dropped by the
// server: the stroke waits, bounded, for the user to let go. Waiting rather
// than releasing the key from here leaves the user's own press and release as
// they were and the devices' key states in agreement.
TypeResult TypingExecutor::typeKeys(const std::vector<TypingStep>& steps, std::size_t& next) {
    const auto keyAt = [&](std::size_t i) { return std::get_if<Key>(&steps[i]); };
    std::size_t end = next;
    while (end < steps.size() && keyAt(end))
        ++end;
    while (next < end) {
        const std::size_t batchEnd = std::min(end, next + kKeysPerGrab);
        bool heldDown = false;
        {
            ServerGrab grab(display_);
            if (!target_.isForeground()) return TypeResult::Interrupted;
            KeyBits down{};
            XQueryKeymap(display_, down.data());
            for (; next < batchEnd; ++next) {
                if (isDown(down, keyAt(next)->keycode)) {
                    heldDown = true;
                    break;
                }
                tap(*keyAt(next));
            }
        }
        if (!heldDown) continue;
        if (waitedAt_ != next) {
            waitedAt_ = next;
            giveUp_ = std::chrono::steady_clock::now() + kHeldKeyPatience;
        }
        // Outside the grab: the user's release may come through another client.
        while (isDownNow(display_, keyAt(next)->keycode)) {
            if (std::chrono::steady_clock::now() >= giveUp_) return TypeResult::Failed;
            std::this_thread::sleep_for(kHeldKeyPoll);
        }
    }
    return TypeResult::Typed;
}

void TypingExecutor::press(KeyCode keycode) {
    ledger_.recordPress(keycode);
    XTestFakeKeyEvent(display_, keycode, True, CurrentTime);
}

void TypingExecutor::release(KeyCode keycode) {
    ledger_.recordRelease(keycode);
    XTestFakeKeyEvent(display_, keycode, False, CurrentTime);
}

// Sent with the grab's end.
void TypingExecutor::tap(const Key& key) {
    for (KeyCode modifier : key.modifiers)
        press(modifier);
    press(key.keycode);
    release(key.keycode);
    for (auto it = key.modifiers.rbegin(); it != key.modifiers.rend(); ++it)
        release(*it);
    typedAny_ = true;
}

} // namespace tavren::backend::x11
