// Where Windows has placed a top-level window, for the end-to-end tests, which
// see only the X windows Wine makes of it: its frame (what a form's left and
// top mean) and its client area, in screen pixels.
//
//   win32_window_places TITLE   prints "frame LEFT TOP client LEFT TOP WIDTH HEIGHT
//                               focus YES|NO", YES when the window is the
//                               foreground window and the keyboard focus is in it
//
// Exits 1 when no top-level window has that title.
#include <windows.h>

#include <cstdio>
#include <shellapi.h>

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc != 2) {
        std::fprintf(stderr, "usage: win32_window_places TITLE\n");
        return 2;
    }
    const HWND window = FindWindowW(nullptr, argv[1]);
    if (window == nullptr) return 1;
    RECT frame{};
    RECT client{};
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    const bool focused = GetForegroundWindow() == window &&
                         GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) &&
                         thread.hwndFocus != nullptr &&
                         (thread.hwndFocus == window || IsChild(window, thread.hwndFocus));
    std::printf("frame %ld %ld client %ld %ld %ld %ld focus %s\n", frame.left, frame.top, origin.x,
                origin.y, client.right, client.bottom, focused ? "YES" : "NO");
    return 0;
}
