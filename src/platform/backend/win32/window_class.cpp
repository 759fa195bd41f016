#include "window_class.h"

namespace tavren::backend::win32 {

const wchar_t* registerPlainWindowClass(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    ::RegisterClassExW(&windowClass);
    return name;
}

} // namespace tavren::backend::win32
