#pragma once

#include <windows.h>

namespace tavren::backend::win32 {

// Registers a window class of this program with nothing but its name and its
// window procedure: the class of the hidden and message-only windows that take
// messages for a service. Registering it again, for a second such window, is
// harmless (the class is there already). Returns `name`.
const wchar_t* registerPlainWindowClass(const wchar_t* name, WNDPROC procedure);

} // namespace tavren::backend::win32
