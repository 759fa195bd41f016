// Where Windows has placed a top-level window, for the end-to-end tests, which
// see only the X windows Wine makes of it: its frame (what a form's left and
// top mean) and its client area, in screen pixels.
//
//   win32_window_places TITLE   prints "frame LEFT TOP client LEFT TOP WIDTH HEIGHT"
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
    std::printf("frame %ld %ld client %ld %ld %ld %ld\n", frame.left, frame.top, origin.x, origin.y,
                client.right, client.bottom);
    return 0;
}
