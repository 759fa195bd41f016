#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tavren::backend::win32::testing {

// The path of program `name` in the folder of the running test program.
std::wstring besideThisProgram(const std::wstring& name);

// `count` characters drawn from `pool` (whole UTF-8 sequences) by a fixed
// sequence from `seed`: the same text every run.
inline std::string textOf(const std::vector<std::string>& pool, std::size_t count, unsigned seed) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        text += pool[(seed >> 16) % pool.size()];
    }
    return text;
}

// Waits until `done` holds, checking every few milliseconds, for at most `limit`.
bool waitFor(const std::function<bool()>& done,
             std::chrono::milliseconds limit = std::chrono::seconds(20));

// Like waitFor, dispatching this thread's messages meanwhile: answers and
// timers come to this thread as messages, as in the program's event loop.
bool dispatchUntil(const std::function<bool()>& done,
                   std::chrono::milliseconds limit = std::chrono::seconds(20));

// win32_test_target.exe running in its own process with the windows given
// ("v:TITLE" shown, "h:TITLE" hidden, "m:TITLE" shown with a menu bar); ended
// when this goes away.
class TargetProcess {
public:
    explicit TargetProcess(const std::vector<std::wstring>& windows);
    ~TargetProcess();
    TargetProcess(const TargetProcess&) = delete;
    TargetProcess& operator=(const TargetProcess&) = delete;

    // The windows in the order given.
    const std::vector<HWND>& windows() const { return windows_; }
    HWND window() const { return windows_.at(0); }

    // Stops the program's thread: it reads no more messages until it ends, or
    // until thaw() lets it go on.
    void freeze();
    void thaw();

    // The log's lines so far.
    std::vector<std::string> log() const;
    // The characters the edit control received, as UTF-8.
    std::string typedText() const;
    // The keys pressed in the edit control, as "vk scan extended".
    std::vector<std::string> keysDown() const;

private:
    std::wstring logPath_;
    PROCESS_INFORMATION process_{};
    std::vector<HWND> windows_;
};

// Thaws a frozen program after `delay` from a thread of its own, or at once
// when asked (or when this goes away): a test whose caller is stuck behind
// the frozen program comes back in any case, and can tell which came first.
class ThawLater {
public:
    ThawLater(TargetProcess& target, std::chrono::milliseconds delay);
    ~ThawLater();
    ThawLater(const ThawLater&) = delete;
    ThawLater& operator=(const ThawLater&) = delete;

    void now();
    bool thawed() const { return thawed_; }

private:
    TargetProcess& target_;
    std::mutex mutex_;
    std::condition_variable asked_;
    bool now_ = false;
    std::atomic<bool> thawed_{false};
    std::thread thread_;
};

} // namespace tavren::backend::win32::testing
