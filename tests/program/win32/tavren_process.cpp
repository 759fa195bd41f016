#include "tavren_process.h"

#include "../../backend/win32/target_process.h"
#include "platform/backend/win32/wide_text.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tavren::backend::win32::testing {

namespace {

std::wstring freshDirectory() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring dir =
        std::wstring(temp) + L"tavren-e2e-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

struct Search {
    DWORD process;
    std::wstring caption;
    bool prefixOnly;
    HWND found = nullptr;
};

BOOL CALLBACK findTopLevel(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !IsWindowVisible(window)) return TRUE;
    // The caption as the system keeps it: no message to the window, which
    // may still be busy.
    wchar_t text[512] = L"";
    const int length = GetWindowTextW(window, text, 512);
    const std::wstring caption(text, static_cast<std::size_t>(length > 0 ? length : 0));
    if (search->prefixOnly ? caption.rfind(search->caption, 0) == 0 : caption == search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct ChildSearch {
    const wchar_t* className;
    std::wstring text;
    bool anyText;
    bool visibleOnly;
    std::vector<HWND> found;
};

// A caption the view broke into lines has the line breaks in its window's
// text ("キーボード\r\n監視"): a window is found by its caption without them.
std::wstring withoutLineBreaks(std::wstring text) {
    text.erase(std::remove_if(text.begin(), text.end(),
                              [](wchar_t c) { return c == L'\r' || c == L'\n'; }),
               text.end());
    return text;
}

BOOL CALLBACK findChild(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<ChildSearch*>(parameter);
    wchar_t name[64];
    GetClassNameW(window, name, 64);
    if (lstrcmpiW(name, search->className) == 0 &&
        (!search->visibleOnly || IsWindowVisible(window)) &&
        (search->anyText || withoutLineBreaks(textOf(window)) == search->text))
        search->found.push_back(window);
    return TRUE;
}

void sendMouse(DWORD flags, LONG x = 0, LONG y = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

} // namespace

std::wstring textOf(HWND window) {
    wchar_t text[512];
    const LRESULT n = SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return std::wstring(text, static_cast<std::size_t>(n));
}

TavrenProcess::TavrenProcess(const std::string& orderFile) : directory_(freshDirectory()) {
    {
        std::ofstream out((directory_ + L"\\tavren.txt").c_str(), std::ios::binary);
        out << orderFile;
    }
    std::wstring command = L"\"" + besideThisProgram(L"tavren.exe") + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory_.c_str(), &startup, &process_))
        throw std::runtime_error("cannot start tavren.exe");
    Search search{process_.dwProcessId, L"Tavren", true};
    waitFor([&] {
        EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    main_ = search.found;
}

HWND TavrenProcess::shownWindow(const std::wstring& caption) const {
    Search search{process_.dwProcessId, caption, false};
    waitFor([&] {
        EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

HWND TavrenProcess::focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!main_ || !GetGUIThreadInfo(GetWindowThreadProcessId(main_, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

TavrenProcess::~TavrenProcess() {
    if (!ended(0)) {
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    DeleteFileW((directory_ + L"\\tavren.txt").c_str());
    RemoveDirectoryW(directory_.c_str());
}

std::vector<HWND> TavrenProcess::children(const wchar_t* className, const std::wstring& text,
                                          HWND top) const {
    ChildSearch search{className, text, false, true, {}};
    EnumChildWindows(top ? top : main_, findChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> TavrenProcess::visibleChildren(const wchar_t* className) const {
    ChildSearch search{className, {}, true, true, {}};
    EnumChildWindows(main_, findChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool TavrenProcess::ended(DWORD milliseconds) const {
    return WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
}

void click(HWND window, bool rightButton, int fromRight) {
    RECT r;
    GetWindowRect(window, &r);
    const int x = fromRight >= 0 ? r.right - fromRight : (r.left + r.right) / 2;
    const int y = (r.top + r.bottom) / 2;
    const int width = GetSystemMetrics(SM_CXSCREEN) - 1;
    const int height = GetSystemMetrics(SM_CYSCREEN) - 1;
    sendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x * 65535 / width, y * 65535 / height);
    sendMouse(rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    sendMouse(rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

void tapKey(WORD virtualKey, bool withShift) {
    std::vector<INPUT> keys;
    const auto add = [&keys](WORD vk, DWORD flags) {
        INPUT key{};
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = vk;
        key.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        key.ki.dwFlags = flags;
        keys.push_back(key);
    };
    if (withShift) add(VK_SHIFT, 0);
    add(virtualKey, 0);
    add(virtualKey, KEYEVENTF_KEYUP);
    if (withShift) add(VK_SHIFT, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof keys[0]);
}

std::wstring scratchPath(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"tavren-scratch-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           name;
}

void writeBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary);
    out << bytes;
}

std::string readBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

} // namespace tavren::backend::win32::testing
