#pragma once

#include "platform/services/diagnostics.h"

#include <windows.h>

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace tavren::backend::win32 {

// What the user-interface thread asks of the DDE thread, carried out in the
// order asked. Texts are already in the conversation's code page.
struct DdeOpen {
    std::string application;
    std::string topic;
    std::string name; // "application|topic" as given, for the diagnostics
};
struct DdeExecute {
    std::string bytes; // NUL-terminated, as CF_TEXT is
    std::string text;  // as given, for the diagnostics
};
using DdeRequest = std::variant<DdeOpen, DdeExecute>;

// How one request ended, told back in the same order; or a failure found out
// later than its request's end.
struct DdeOutcome {
    enum class Of : std::uint8_t { Open, Execute, LaterFailure };
    Of of;
    // An open that reached a server: the server's window, which goes when the
    // server does.
    HWND partner = nullptr;
    std::optional<services::Failure> failure;
};

// The two queues between the user-interface thread and the DDE thread. The
// outcomes are announced with a message posted to a window of the
// user-interface thread, which reads them there: every failure is reported on
// the thread that owns the diagnostics.
class DdeMailbox {
public:
    DdeMailbox(HWND outcomesWindow, UINT outcomesMessage)
        : outcomesWindow_(outcomesWindow), outcomesMessage_(outcomesMessage) {}

    void ask(DdeRequest request) {
        const std::lock_guard lock(mutex_);
        requests_.push_back(std::move(request));
    }
    std::deque<DdeRequest> takeRequests() {
        const std::lock_guard lock(mutex_);
        return std::exchange(requests_, {});
    }

    void tell(DdeOutcome outcome) {
        {
            const std::lock_guard lock(mutex_);
            outcomes_.push_back(std::move(outcome));
        }
        // Fails harmlessly once the window is gone, at the program's end.
        ::PostMessageW(outcomesWindow_, outcomesMessage_, 0, 0);
    }
    std::deque<DdeOutcome> takeOutcomes() {
        const std::lock_guard lock(mutex_);
        return std::exchange(outcomes_, {});
    }

private:
    HWND outcomesWindow_;
    UINT outcomesMessage_;
    std::mutex mutex_;
    std::deque<DdeRequest> requests_;
    std::deque<DdeOutcome> outcomes_;
};

} // namespace tavren::backend::win32
