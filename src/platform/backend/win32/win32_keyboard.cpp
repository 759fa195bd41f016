#include "win32_keyboard.h"

#include "handles.h"
#include "helper_thread.h"
#include "layout_keys.h"
#include "millisecond_timer.h"
#include "process_integrity.h"
#include "typing_executor.h"
#include "typing_plan.h"

namespace tavren::backend::win32 {

using services::TypeResult;

TypeResult Win32Keyboard::type(services::WindowHandle target, const services::KeySequence& keys) {
    if (target == 0) return TypeResult::Interrupted;
    const HWND window = toHwnd(target);
    if (keysBlockedByIntegrity(integrity_, window)) {
        diagnostics_.report(
            {services::IgnoredFailure::OrderNotTyped,
             "the window runs as administrator and Tavren does not, so Windows keeps Tavren's "
             "keys from it; start Tavren as administrator too"});
        return TypeResult::Failed;
    }
    const TypingPlan plan = planTyping(keys, WindowKeyboardLayout(window));
    if (!plan.possible()) return TypeResult::Failed;
    TypingExecutor executor(window, readsNoKeyMessages_, diagnostics_);
    // Sleep(1) and the waits on the target's reading keep to a millisecond
    // while typing, not to the system's default tick of about 15.6 ms.
    const MillisecondTimer timer;
    if (::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId())
        return executor.typeWithoutFollowing(plan);
    // Threads that share an input queue take its input in order: the target
    // could not read its keys behind a click still queued for this thread
    // (the release of the press that sent the order) while we wait. The
    // helper thread has no window, so nothing in the queue is ever its.
    TypeResult result = TypeResult::Failed;
    if (!runOnHelperThread([&] { result = executor.typeFollowingReads(plan); }))
        return executor.typeWithoutFollowing(plan);
    return result;
}

} // namespace tavren::backend::win32
