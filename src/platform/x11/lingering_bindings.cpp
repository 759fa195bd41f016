#include "platform/x11/lingering_bindings.h"

namespace tavren::x11 {

LingeringBindings::LingeringBindings(const char* displayName, std::chrono::milliseconds idleTime)
    : display_(openDisplay(displayName)), idleTime_(idleTime), override_(display_.get()),
      restorer_([this] { restoreWhenIdle(); }) {}

LingeringBindings::~LingeringBindings() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    restorer_.join();
    restoreLocked();
}

void LingeringBindings::beginOrder() {
    std::lock_guard lock(mutex_);
    typing_ = true;
}

bool LingeringBindings::bind(const std::vector<std::pair<KeyCode, KeySym>>& bindings) {
    std::lock_guard lock(mutex_);
    const bool bound = override_.bind(bindings);
    // The keys that follow go out on another connection: the server must have
    // applied the new map before it reads them.
    XSync(display_.get(), False);
    return bound;
}

bool LingeringBindings::active() {
    std::lock_guard lock(mutex_);
    return override_.active();
}

void LingeringBindings::restoreWhenSafe(bool read) {
    std::unique_lock lock(mutex_);
    if (!override_.active()) return;
    const auto until = read ? keepUntil_ : std::max(keepUntil_, Clock::now() + idleTime_);
    lock.unlock();
    std::this_thread::sleep_until(until);
    lock.lock();
    keepUntil_ = {};
    restoreLocked();
}

void LingeringBindings::endOrder(bool read) {
    {
        std::lock_guard lock(mutex_);
        typing_ = false;
        if (read && Clock::now() >= keepUntil_) {
            restoreLocked();
            return;
        }
        if (!read) keepUntil_ = std::max(keepUntil_, Clock::now() + idleTime_);
    }
    changed_.notify_all();
}

void LingeringBindings::restoreLocked() {
    override_.restore();
}

void LingeringBindings::restoreWhenIdle() {
    std::unique_lock lock(mutex_);
    while (!ending_) {
        if (!override_.active() || typing_) {
            changed_.wait(lock);
            continue;
        }
        if (Clock::now() >= keepUntil_) {
            restoreLocked();
            continue;
        }
        changed_.wait_until(lock, keepUntil_);
    }
}

} // namespace tavren::x11
