#include "dpi_awareness.h"

#include <windows.h>

namespace tavren::program {

void becomeDpiAware() {
    // Looked up at run time: Windows before 10 (1703) has no awareness contexts.
    using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto setContext = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
    // System awareness: the windows are laid out once, at the DPI of the
    // primary monitor, and Windows stretches them on a monitor of another
    // scale. Per-monitor awareness would leave them at the wrong size there,
    // as nothing lays them out again when the DPI changes (WM_DPICHANGED).
    if (setContext != nullptr && setContext(DPI_AWARENESS_CONTEXT_SYSTEM_AWARE)) return;
    // Refused because the manifest chose already, or unknown: make sure of at
    // least system awareness (a no-op when the process is aware).
    SetProcessDPIAware();
}

} // namespace tavren::program
