// A program for the Windows tests to type into and to look at: it opens one
// top-level window per argument after the log path ("v:TITLE" shown, "h:TITLE"
// hidden, "m:TITLE" shown with a menu bar, as most IRC clients have), the first
// shown one with an edit control that has the focus, and writes to the log
// (UTF-8, one line each, flushed at once):
//   window <handle> <title>     for every window, once it exists
//   down <vk> <scan> <extended> for every key pressed in the edit control
//   char <hex code>             for every character it receives (UTF-16 units
//                               joined into code points)
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

FILE* logFile = nullptr;
HWND edit = nullptr;
WNDPROC editProcedure = nullptr;
wchar_t pendingHighSurrogate = 0;

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

void logLine(const std::string& line) {
    std::fputs((line + "\n").c_str(), logFile);
    std::fflush(logFile);
}

LRESULT CALLBACK loggingEdit(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
        logLine("down " + std::to_string(w) + " " + std::to_string((l >> 16) & 0xFF) + " " +
                std::to_string((l >> 24) & 1));
    } else if (message == WM_CHAR) {
        const auto unit = static_cast<wchar_t>(w);
        unsigned code = unit;
        if (unit >= 0xD800 && unit < 0xDC00) {
            pendingHighSurrogate = unit;
            return CallWindowProcW(editProcedure, window, message, w, l);
        }
        if (unit >= 0xDC00 && unit < 0xE000 && pendingHighSurrogate) {
            code = 0x10000 + ((pendingHighSurrogate - 0xD800) << 10) + (unit - 0xDC00);
        }
        pendingHighSurrogate = 0;
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", code);
        logLine(std::string("char ") + hex);
    }
    return CallWindowProcW(editProcedure, window, message, w, l);
}

LRESULT CALLBACK topLevel(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(w) != WA_INACTIVE && edit != nullptr && GetParent(edit) == window)
            SetFocus(edit);
        return 0;
    case WM_SIZE:
        if (edit != nullptr && GetParent(edit) == window)
            MoveWindow(edit, 0, 0, LOWORD(l), HIWORD(l), TRUE);
        return 0;
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, w, l);
    }
}

// A menu bar whose menus take letters as their own: keys typed while it is in
// menu mode are lost to the edit control.
HMENU menuBar() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 1, L"&Open");
    AppendMenuW(file, MF_STRING, 2, L"&Save");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_STRING, 3, L"&Edit");
    return bar;
}

} // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 2) return 2;
    logFile = _wfopen(argv[1], L"ab");
    if (logFile == nullptr) return 3;

    WNDCLASSW cls{};
    cls.lpfnWndProc = topLevel;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"TavrenTestTarget";
    cls.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    RegisterClassW(&cls);

    for (int i = 2; i < argc; ++i) {
        const std::wstring argument = argv[i];
        const bool withMenu = argument.rfind(L"m:", 0) == 0;
        const bool shown = withMenu || argument.rfind(L"v:", 0) == 0;
        const std::wstring title = argument.size() >= 2 ? argument.substr(2) : L"";
        HWND window = CreateWindowExW(0, cls.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW,
                                      100 + 40 * i, 100 + 30 * i, 400, 200, nullptr,
                                      withMenu ? menuBar() : nullptr, cls.hInstance, nullptr);
        if (shown && edit == nullptr) {
            edit = CreateWindowExW(0, L"EDIT", L"",
                                   WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 400,
                                   200, window, nullptr, cls.hInstance, nullptr);
            editProcedure = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(loggingEdit)));
        }
        if (shown) {
            ShowWindow(window, SW_SHOWNORMAL);
            UpdateWindow(window);
        }
        logLine("window " + std::to_string(reinterpret_cast<INT_PTR>(window)) + " " + utf8(title));
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    std::fclose(logFile);
    return 0;
}
