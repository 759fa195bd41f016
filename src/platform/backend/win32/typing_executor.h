#pragma once

#include "platform/services/diagnostics.h"
#include "platform/services/keyboard.h"
#include "typing_plan.h"

#include <windows.h>

#include <set>

namespace tavren::backend::win32 {

// Sends a typing plan's keys into a window with SendInput and waits for the
// window to read them; nothing else. The foreground is checked before every
// step; typing stops as soon as another window is in front. Every
// synthesised key carries kTavrenInputMarker.
class TypingExecutor {
public:
    // How long the target may take to read the next of its keys, and to
    // answer the round trip after the last: a target that reads none of its
    // keys for that long holds us no longer, and the typing has failed.
    static constexpr unsigned kProcessedTimeoutMs = 1000;

    // `readsNoKeyMessages`: the windows found to read no key messages at all
    // (a game reading raw input only), kept across orders; such a window is
    // typed into unpaced. Both are borrowed.
    TypingExecutor(HWND window, std::set<HWND>& readsNoKeyMessages,
                   services::Diagnostics& diagnostics)
        : window_(window), readsNoKeyMessages_(readsNoKeyMessages), diagnostics_(diagnostics) {}

    // On a thread without windows: shares the window's input queue meanwhile
    // (AttachThreadInput), and sends a key once the window has read the one
    // before it of the same key (KeyReads), so text goes at the pace the
    // window reads it. Returns once it has read every key and handled the
    // last. Closes the window's input method for the order (ClosedInputMethod).
    services::TypeResult typeFollowingReads(const TypingPlan& plan);

    // When the window's input queue cannot be shared (a window of this
    // thread): the keys go out without a look at their reading.
    services::TypeResult typeWithoutFollowing(const TypingPlan& plan);

private:
    HWND window_;
    std::set<HWND>& readsNoKeyMessages_;
    services::Diagnostics& diagnostics_;
};

} // namespace tavren::backend::win32
