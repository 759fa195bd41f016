// A program for the Windows tests to type into and to look at: it opens one
// top-level window per argument after the log path ("v:TITLE" shown, "h:TITLE"
// hidden, "m:TITLE" shown with a menu bar, as most IRC clients have,
// "i:TITLE" shown with its input method open, as a Japanese user leaves it in
// a chat box, "r:TITLE" shown by a thread that never reads a key message, as a
// game reading raw input only), the first shown one with an edit control that
// has the focus, and writes to the log (UTF-8, one line each, flushed at once):
//   window <handle> <title>     for every window, once it exists
//   down <vk> <scan> <extended> for every key pressed in the edit control
//   char <hex code>             for every character it receives (UTF-16 units
//                               joined into code points)
//   ime open|closed             whenever the edit control's input method opens
//                               or closes
// Its default IME window carries out another program's IMC_SETOPENSTATUS, as
// Windows' own does (Wine's answers IMC_GETOPENSTATUS only).
#include <windows.h>

#include <imm.h>

#include <cstdio>
#include <string>

namespace {

FILE* logFile = nullptr;
HWND edit = nullptr;
WNDPROC editProcedure = nullptr;
wchar_t pendingHighSurrogate = 0;
bool readsNoKeys = false;

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
    } else if (message == WM_IME_NOTIFY && w == IMN_SETOPENSTATUS) {
        const HIMC context = ImmGetContext(window);
        logLine(ImmGetOpenStatus(context) ? "ime open" : "ime closed");
        ImmReleaseContext(window, context);
    }
    return CallWindowProcW(editProcedure, window, message, w, l);
}

WNDPROC imeWindowProcedure = nullptr;

LRESULT CALLBACK defaultImeWindow(HWND window, UINT message, WPARAM w, LPARAM l) {
    constexpr WPARAM kSetOpenStatus = 0x0006;
    if (message == WM_IME_CONTROL && w == kSetOpenStatus) {
        const HIMC context = ImmGetContext(edit);
        ImmSetOpenStatus(context, l != 0);
        ImmReleaseContext(edit, context);
        return 0;
    }
    return CallWindowProcW(imeWindowProcedure, window, message, w, l);
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
        const bool withInputMethod = argument.rfind(L"i:", 0) == 0;
        if (argument.rfind(L"r:", 0) == 0) readsNoKeys = true;
        const bool shown =
            withMenu || withInputMethod || readsNoKeys || argument.rfind(L"v:", 0) == 0;
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
            if (withInputMethod) {
                const HIMC context = ImmGetContext(edit);
                ImmSetOpenStatus(context, TRUE);
                ImmReleaseContext(edit, context);
                if (const HWND ime = ImmGetDefaultIMEWnd(edit))
                    imeWindowProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                        ime, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defaultImeWindow)));
            }
        }
        if (shown) {
            ShowWindow(window, SW_SHOWNORMAL);
            UpdateWindow(window);
        }
        logLine("window " + std::to_string(reinterpret_cast<INT_PTR>(window)) + " " + utf8(title));
    }

    MSG msg;
    if (readsNoKeys) {
        // Every message but the keys, which stay queued.
        for (;;) {
            while (PeekMessageW(&msg, nullptr, 0, WM_KEYFIRST - 1, PM_REMOVE) ||
                   PeekMessageW(&msg, nullptr, WM_KEYLAST + 1, 0xFFFF, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    std::fclose(logFile);
                    return 0;
                }
                DispatchMessageW(&msg);
            }
            Sleep(2);
        }
    }
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    std::fclose(logFile);
    return 0;
}
