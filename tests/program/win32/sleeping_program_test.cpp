// tavren.exe beside another program that has stopped reading its messages.
// Opening a DDE conversation asks every top-level window whether it serves it
// and waits for each answer, so such a program must not hold Tavren's start.
#include "../../backend/win32/link_monitor_process.h"
#include "../../backend/win32/target_process.h"
#include "tavren_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace tavren::backend::win32::testing {
namespace {

struct ButtonSearch {
    std::wstring text;
    HWND found = nullptr;
};

BOOL CALLBACK findButton(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<ButtonSearch*>(parameter);
    wchar_t name[16];
    GetClassNameW(window, name, 16);
    if (lstrcmpiW(name, L"Button") == 0 && textOf(window) == search->text) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The nick window's button with that caption, the window moved beside the
// main window first, where nothing covers it.
HWND nickButton(HWND mainWindow, const std::wstring& caption) {
    HWND nick = FindWindowW(L"TavrenForm", L"nick");
    if (nick == nullptr) return nullptr;
    RECT main;
    GetWindowRect(mainWindow, &main);
    SetWindowPos(nick, HWND_TOP, main.right + 10, main.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ButtonSearch search{caption};
    EnumChildWindows(nick, findButton, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST(TavrenBesideASleepingProgram, ShowsItsWindowAndAnswersWhileTheProgramSleeps) {
    LinkMonitorProcess monitor;
    TargetProcess sleeper({L"v:sleeping program"});
    // Out of the way in a corner, where it covers none of Tavren's windows.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(sleeper.window(), nullptr, width - 220, height - 120, 200, 100,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    sleeper.freeze();
    // Well within TavrenProcess's wait for the window, well beyond a start.
    ThawLater thaw(sleeper, std::chrono::seconds(15));

    TavrenProcess tavren("attack\r\n*servername=irc.example\r\n*nick=on\r\n");
    ASSERT_NE(tavren.mainWindow(), nullptr) << "tavren.exe's main window did not appear";
    EXPECT_FALSE(thaw.thawed()) << "the main window appeared only once the other program woke";
    DWORD_PTR ignored = 0;
    EXPECT_NE(SendMessageTimeoutW(tavren.mainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored),
              0);
    // A nick button pressed meanwhile: its command waits behind the announcements.
    const HWND ws = nickButton(tavren.mainWindow(), L"WS");
    ASSERT_NE(ws, nullptr) << "no nick window with its WS button";
    RECT button;
    GetWindowRect(ws, &button);
    ASSERT_EQ(WindowFromPoint({(button.left + button.right) / 2, (button.top + button.bottom) / 2}),
              ws)
        << "another window covers the WS button";
    click(ws);
    EXPECT_TRUE(SendMessageTimeoutW(ws, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored) != 0);
    EXPECT_FALSE(thaw.thawed()) << "the windows answered only once the other program woke";

    // Once the program wakes, the link opens and all of it arrives, in order.
    thaw.now();
    EXPECT_TRUE(waitFor([&] { return monitor.commands().size() >= 3; }));
    EXPECT_EQ(monitor.output(), "Text1,/privmsg $# Connect.... OK\n"
                                "irc.example,/privmsg $# Connect.... OK\n"
                                "irc.example,/nick WS_\r\n\n");
}

} // namespace
} // namespace tavren::backend::win32::testing
