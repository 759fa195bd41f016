#include "platform/backend/x11/lingering_bindings.h"

#include <algorithm>

namespace tavren::backend::x11 {

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
    override_.restore();
}

void LingeringBindings::beginOrder() {
    std::lock_guard lock(mutex_);
    typing_ = true;
}

std::map<KeyCode, BoundLevels> LingeringBindings::bound() {
    std::lock_guard lock(mutex_);
    return override_.bound();
}

bool LingeringBindings::earlierKeysMayBeUnread() {
    std::lock_guard lock(mutex_);
    return Clock::now() < unreadUntil_;
}

bool LingeringBindings::bind(const std::vector<SlotBinding>& bindings, int fourLevelType) {
    if (bindings.empty()) return true;
    std::lock_guard lock(mutex_);
    const bool bound = override_.bind(bindings, fourLevelType);
    // The keys that follow go out on another connection: the server must have
    // applied the new map before it reads them.
    XSync(display_.get(), False);
    return bound;
}

void LingeringBindings::waitUntilRebindable(bool readSoFar) {
    std::unique_lock lock(mutex_);
    const auto until = readSoFar ? unreadUntil_ : std::max(unreadUntil_, Clock::now() + idleTime_);
    lock.unlock();
    std::this_thread::sleep_until(until);
    lock.lock();
    unreadUntil_ = {};
}

void LingeringBindings::endOrder(bool read) {
    endOrder(read, idleTime_);
}

void LingeringBindings::endOrder(bool read, std::chrono::milliseconds unreadFor) {
    {
        std::lock_guard lock(mutex_);
        typing_ = false;
        const auto now = Clock::now();
        if (!read) unreadUntil_ = std::max(unreadUntil_, now + std::max(unreadFor, idleTime_));
        lingerUntil_ = std::max(unreadUntil_, now + idleTime_);
    }
    changed_.notify_all();
}

void LingeringBindings::restoreWhenIdle() {
    std::unique_lock lock(mutex_);
    while (!ending_) {
        if (!override_.active() || typing_) {
            changed_.wait(lock);
            continue;
        }
        if (Clock::now() >= lingerUntil_) {
            override_.restore();
            continue;
        }
        changed_.wait_until(lock, lingerUntil_);
    }
}

} // namespace tavren::backend::x11
