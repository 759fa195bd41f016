#include "dpi_awareness.h"

#include <windows.h>

namespace tavren::program {

void becomeDpiAware() {
    // Looked up at run time: Windows before 10 (1703) has no awareness contexts.
    using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto setContext = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
    if (setContext != nullptr && setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) return;
    // Refused because the manifest chose already, or unknown: make sure of at
    // least system awareness (a no-op when the process is aware).
    SetProcessDPIAware();
}

} // namespace tavren::program
