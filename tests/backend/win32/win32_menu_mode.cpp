// Whether the thread of a top-level window is in a menu's modal loop, for the
// end-to-end tests, which cannot see that from the X side: a menu bar opened
// from the keyboard (Alt) makes no X window of its own.
//
//   win32_menu_mode TITLE   prints "menu" or "none"
//
// Exits 1 when no top-level window has that title.
#include <windows.h>

#include <cstdio>
#include <shellapi.h>

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc != 2) {
        std::fprintf(stderr, "usage: win32_menu_mode TITLE\n");
        return 2;
    }
    const HWND window = FindWindowW(nullptr, argv[1]);
    if (window == nullptr) return 1;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return 1;
    const DWORD menuModes = GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE;
    std::printf("%s\n", (info.flags & menuModes) != 0 ? "menu" : "none");
    return 0;
}
