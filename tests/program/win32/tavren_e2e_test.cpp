// tavren.exe as a user runs it: a target window of another process picked in
// "送信先", order buttons clicked, the captions and Enter arriving in the
// target exactly; closing the main window or ending the session writes the
// settings file; the windows' sizes, keyboard navigation and maximising.
#include "../../backend/win32/target_process.h"
#include "platform/backend/win32/wide_text.h"
#include "tavren_process.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

namespace tavren::backend::win32::testing {
namespace {

std::wstring settingsFile() {
    PWSTR folder = nullptr;
    SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder);
    std::wstring path = std::wstring(folder) + L"\\Tavren\\QVRL2.ini";
    CoTaskMemFree(folder);
    return path;
}

// The prefix's settings file is moved aside for the test and put back after,
// so the run starts from no settings and leaves the prefix as it was.
class SettingsSetAside {
public:
    SettingsSetAside() : path_(settingsFile()), aside_(path_ + L".e2e-aside") {
        had_ = MoveFileExW(path_.c_str(), aside_.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    }
    ~SettingsSetAside() {
        DeleteFileW(path_.c_str());
        if (had_) MoveFileExW(aside_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    std::string contents() const {
        std::ifstream in(path_.c_str(), std::ios::binary);
        std::stringstream whole;
        whole << in.rdbuf();
        return whole.str();
    }
    bool exists() const { return GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES; }
    void remove() const { DeleteFileW(path_.c_str()); }

private:
    std::wstring path_, aside_;
    bool had_ = false;
};

int distance(const RECT& a, const RECT& b) {
    return std::abs(a.top - b.top) + std::abs(a.left - b.right);
}

// The drop-down beside the label "送信先": the nearest to its right on its line.
HWND sendDestinationList(const TavrenProcess& tavren) {
    const auto labels = tavren.children(L"Static", L"送信先");
    if (labels.empty()) return nullptr;
    RECT label;
    GetWindowRect(labels.front(), &label);
    HWND best = nullptr;
    int bestDistance = 1 << 30;
    for (HWND combo : tavren.visibleChildren(L"ComboBox")) {
        RECT r;
        GetWindowRect(combo, &r);
        if (r.left < label.left || distance(label, r) >= bestDistance) continue;
        best = combo;
        bestDistance = distance(label, r);
    }
    return best;
}

// Picks the entry as a user does: opens the list with its arrow, walks to the
// entry with the arrow keys and takes it with Enter.
bool pick(HWND combo, const std::wstring& title) {
    const auto index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(title.c_str()));
    if (index == CB_ERR) return false;
    click(combo, false, GetSystemMetrics(SM_CXVSCROLL) / 2);
    if (!waitFor([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; })) return false;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT step = 0; step <= count; ++step) {
        const auto now = SendMessageW(combo, CB_GETCURSEL, 0, 0);
        if (now == index) break;
        tapKey(now < index || now == CB_ERR ? VK_DOWN : VK_UP);
        waitFor([&] { return SendMessageW(combo, CB_GETCURSEL, 0, 0) != now; },
                std::chrono::seconds(5));
    }
    tapKey(VK_RETURN);
    return waitFor([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) == 0; }) &&
           SendMessageW(combo, CB_GETCURSEL, 0, 0) == index;
}

HWND orderButton(const TavrenProcess& tavren, const std::string& caption) {
    const auto buttons = tavren.children(L"Button", utf8ToWide(caption));
    return buttons.empty() ? nullptr : buttons.front();
}

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The send box: the one text field on a panel (the drop-downs' are theirs).
HWND sendBox(const TavrenProcess& tavren) {
    for (HWND edit : tavren.visibleChildren(L"Edit"))
        if (classOf(GetParent(edit)) == L"TavrenFrame") return edit;
    return nullptr;
}

TEST(TavrenExe, OrderButtonsTypeTheirCaptionsIntoThePickedWindowAndClosingSaves) {
    const std::string first = "攻撃開始！";
    const std::string second = "合流 C:\\城門 ￥500 #2!";
    const std::string secondRight = "合流 C:@城門 ＠500 #2!";
    const std::wstring targetTitle = L"注文の送信先 e2e";

    SettingsSetAside settings;
    TargetProcess target({L"v:" + targetTitle});
    TavrenProcess tavren(first + ",FF8080\r\n" + second +
                         ",80FF80\r\n*ButtonT=2\r\n*ButtonY=3\r\n");
    ASSERT_NE(tavren.mainWindow(), nullptr) << "tavren.exe's main window did not appear";
    SetForegroundWindow(tavren.mainWindow());

    HWND list = sendDestinationList(tavren);
    ASSERT_NE(list, nullptr) << "no drop-down beside 送信先";
    ASSERT_TRUE(pick(list, targetTitle)) << "the target could not be picked in 送信先";

    // The board, with the menu's "指揮" (the second visible entry), by keyboard.
    tapKey(VK_MENU);
    tapKey(VK_RIGHT);
    tapKey(VK_RETURN);
    ASSERT_TRUE(waitFor([&] {
        HWND button = orderButton(tavren, first);
        return button != nullptr && IsWindowVisible(button);
    })) << "the order board did not show";

    click(orderButton(tavren, first));
    EXPECT_TRUE(waitFor([&] { return target.typedText() == first + "\r"; })) << target.typedText();

    click(orderButton(tavren, second), true);
    EXPECT_TRUE(waitFor([&] { return target.typedText() == first + "\r" + secondRight + "\r"; }))
        << target.typedText();

    // Back to the settings panel with "設定", the menu's first entry, and an
    // order typed into the send box goes with Enter, which the keyboard's
    // navigation between the controls leaves to the box.
    SetForegroundWindow(tavren.mainWindow());
    ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == tavren.mainWindow(); }));
    tapKey(VK_MENU);
    tapKey(VK_RETURN);
    HWND box = sendBox(tavren);
    ASSERT_NE(box, nullptr) << "no send box";
    ASSERT_TRUE(waitFor([&] { return GetWindow(tavren.mainWindow(), GW_CHILD) == GetParent(box); }))
        << "the settings panel did not come to the front";
    click(box);
    const std::wstring typed = L"send box #3";
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    tapKey(VK_RETURN);
    EXPECT_TRUE(waitFor([&] {
        return target.typedText() == first + "\r" + secondRight + "\r" + wideToUtf8(typed) + "\r";
    })) << target.typedText();

    PostMessageW(tavren.mainWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(tavren.ended(20000)) << "tavren.exe did not end when its window closed";
    ASSERT_TRUE(settings.exists()) << "closing did not write the settings file";
    const std::string saved = settings.contents();
    EXPECT_NE(saved.find("[Option]"), std::string::npos) << saved;
    EXPECT_NE(saved.find("ButtonT=2"), std::string::npos) << saved;
    EXPECT_NE(saved.find("ButtonY=3"), std::string::npos) << saved;
}

// Wine's way of ending the desktop session, as a log-off does on Windows:
// every top-level window is asked WM_QUERYENDSESSION and told WM_ENDSESSION,
// and a program still running after that is terminated.
void endTheSession() {
    std::wstring command = L"wineboot.exe --end-session";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

TEST(TavrenExe, SessionEndSavesTheSettingsAsClosingDoes) {
    SettingsSetAside settings;
    // The nick window is open: its close box only hides it and clears its
    // option, and the session's end must not be taken for that.
    const std::string orders = "攻撃開始！,FF8080\r\n*ButtonT=2\r\n*nick=on\r\n";
    std::string closed;
    {
        TavrenProcess tavren(orders);
        ASSERT_NE(tavren.mainWindow(), nullptr) << "tavren.exe's main window did not appear";
        PostMessageW(tavren.mainWindow(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(tavren.ended(20000)) << "tavren.exe did not end when its window closed";
        closed = settings.contents();
        settings.remove();
    }
    EXPECT_NE(closed.find("ButtonT=2"), std::string::npos) << closed;
    EXPECT_NE(closed.find("chk_rename=1"), std::string::npos) << closed;

    TavrenProcess tavren(orders);
    ASSERT_NE(tavren.mainWindow(), nullptr) << "tavren.exe's main window did not appear";
    ASSERT_NE(tavren.shownWindow(L"nick"), nullptr) << "the nick window did not appear";
    endTheSession();
    ASSERT_TRUE(tavren.ended(20000)) << "the session ended and tavren.exe did not";
    ASSERT_TRUE(settings.exists()) << "the session ended without tavren.exe saving its settings";
    EXPECT_EQ(settings.contents(), closed);
}

// Twips in a window's pixels at its DPI.
int pixelsOf(double twips, HWND window) {
    const UINT dpi = GetDpiForWindow(window);
    return static_cast<int>(std::lround(twips * (dpi ? dpi : 96) / 1440.0));
}

TEST(TavrenExe, BothWindowsOpenAtTheirDesignedClientSize) {
    SettingsSetAside settings; // a first start: no saved sizes
    TavrenProcess tavren("攻撃開始！,FF8080\r\n*nick=on\r\n");
    HWND main = tavren.mainWindow();
    HWND nick = tavren.shownWindow(L"nick");
    ASSERT_NE(main, nullptr) << "tavren.exe's main window did not appear";
    ASSERT_NE(nick, nullptr) << "the nick window did not appear";
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, pixelsOf(4935, main));
    EXPECT_EQ(client.bottom, pixelsOf(4905, main));
    GetClientRect(nick, &client);
    // Windows keeps a window with a caption wide enough for the caption's
    // buttons, which the nick window's design is not: it may come out wider.
    EXPECT_GE(client.right, pixelsOf(1590, nick));
    EXPECT_EQ(client.bottom, pixelsOf(1650, nick));
}

// Whether the keyboard focus is on a control (a drop-down's: in its edit field).
bool focusIsOn(const TavrenProcess& tavren, HWND control) {
    HWND focus = tavren.focus();
    return focus != nullptr && (focus == control || GetParent(focus) == control);
}

using Named = std::pair<std::string, HWND>;

// Tab takes the focus from each control of `order` to the next, Shift+Tab back.
void expectTabOrder(const TavrenProcess& tavren, const std::vector<Named>& order) {
    for (const auto& [name, window] : order)
        ASSERT_NE(window, nullptr) << name << " not found";
    click(order.front().second);
    ASSERT_TRUE(waitFor([&] { return focusIsOn(tavren, order.front().second); }))
        << "a click did not focus " << order.front().first;
    for (std::size_t i = 1; i < order.size(); ++i) {
        tapKey(VK_TAB);
        ASSERT_TRUE(waitFor([&] { return focusIsOn(tavren, order[i].second); }))
            << "Tab from " << order[i - 1].first << " did not reach " << order[i].first << " but "
            << wideToUtf8(textOf(tavren.focus()));
    }
    for (std::size_t i = order.size() - 1; i > 0; --i) {
        tapKey(VK_TAB, true);
        ASSERT_TRUE(waitFor([&] { return focusIsOn(tavren, order[i - 1].second); }))
            << "Shift+Tab from " << order[i].first << " did not reach " << order[i - 1].first
            << " but " << wideToUtf8(textOf(tavren.focus()));
    }
}

HWND byText(const TavrenProcess& tavren, const wchar_t* className, const std::wstring& text,
            HWND top = nullptr) {
    const auto found = tavren.children(className, text, top);
    return found.empty() ? nullptr : found.front();
}

// The option of a group that is selected, by its caption.
HWND selectedOption(const TavrenProcess& tavren, const std::wstring& caption) {
    for (HWND option : tavren.children(L"Button", caption))
        if (SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED) return option;
    return nullptr;
}

TEST(TavrenExe, TabMovesTheFocusThroughTheControlsInTheirOrder) {
    SettingsSetAside settings;
    TavrenProcess tavren("攻撃開始！,FF8080\r\n*nick=on\r\n");
    ASSERT_NE(tavren.mainWindow(), nullptr) << "tavren.exe's main window did not appear";
    HWND nick = tavren.shownWindow(L"nick");
    ASSERT_NE(nick, nullptr) << "the nick window did not appear";

    // The settings panel, whose disabled boxes, return window list and
    // "再取得" (off with the return switch) the focus passes by, and whose
    // option groups it enters at their selected option.
    SetForegroundWindow(tavren.mainWindow());
    expectTabOrder(tavren,
                   {
                       {"送信先", sendDestinationList(tavren)},
                       {"chk_uo", byText(tavren, L"Button",
                                         L"ボタンを押した後、選択したwindowをアクティブにする")},
                       {"常に手前に表示", byText(tavren, L"Button", L"常に手前に表示")},
                       {"キーボード監視", byText(tavren, L"Button", L"キーボード監視")},
                       {"0.0", byText(tavren, L"Button", L"0.0")},
                       {"sendtext", sendBox(tavren)},
                       {"ボタン間隔", byText(tavren, L"ComboBox", L"3")},
                       {"縦 4", selectedOption(tavren, L"4")},
                       {"横 2", selectedOption(tavren, L"2")},
                   });

    // The nick window, round: its buttons, the nick text before "A".
    SetForegroundWindow(nick);
    const auto button = [&](const wchar_t* caption) {
        return byText(tavren, L"Button", caption, nick);
    };
    expectTabOrder(tavren, {
                               {"通常", button(L"通常")},
                               {"WM", button(L"WM")},
                               {"WS", button(L"WS")},
                               {"D", button(L"D")},
                               {"F", button(L"F")},
                               {"HOQ", button(L"HOQ")},
                               {"txt_nick", byText(tavren, L"Edit", L"", nick)},
                               {"A", button(L"A")},
                               {"通常", button(L"通常")},
                           });
}

TEST(TavrenExe, MaximisedAndRestoredThePanelsFillTheWindow) {
    SettingsSetAside settings;
    const std::string order = "攻撃開始！";
    TavrenProcess tavren(order + ",FF8080\r\n");
    HWND main = tavren.mainWindow();
    ASSERT_NE(main, nullptr) << "tavren.exe's main window did not appear";
    HWND label = byText(tavren, L"Static", L"送信先");
    HWND button = orderButton(tavren, order);
    ASSERT_NE(label, nullptr);
    ASSERT_NE(button, nullptr);
    // The settings panel and the order board.
    const HWND panels[] = {GetParent(label), GetParent(button)};
    const auto clientSize = [&] {
        RECT client{};
        GetClientRect(main, &client);
        return std::pair{client.right, client.bottom};
    };
    const auto panelsFill = [&] {
        for (HWND panel : panels) {
            RECT r{};
            GetWindowRect(panel, &r);
            if (std::pair{r.right - r.left, r.bottom - r.top} != clientSize()) return false;
        }
        return true;
    };
    EXPECT_TRUE(waitFor(panelsFill)) << "as opened";
    const auto restored = clientSize();

    // As the caption's maximise and restore buttons do.
    PostMessageW(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(waitFor([&] { return IsZoomed(main) != FALSE; })) << "not maximised";
    EXPECT_TRUE(waitFor([&] { return clientSize().first > restored.first; })) << "not grown";
    EXPECT_TRUE(waitFor(panelsFill)) << "maximised";

    PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    // The window manager may resize the window after Wine has left the state.
    EXPECT_TRUE(waitFor([&] { return IsZoomed(main) == FALSE && clientSize() == restored; }))
        << "not restored to its size";
    EXPECT_TRUE(waitFor(panelsFill)) << "restored";
}

// Run from a command prompt whose output is redirected, tavren.exe prints its
// version there, though it is a GUI program with no console of its own.
TEST(TavrenExe, PrintsItsVersionIntoARedirectedOutput) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherit, 0));
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring self(path, n);
    std::wstring command =
        L"\"" + self.substr(0, self.find_last_of(L"\\/") + 1) + L"tavren.exe\" --version";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                               &startup, &process));
    CloseHandle(writeEnd);
    std::string output;
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
        output.append(buffer, got);
    WaitForSingleObject(process.hProcess, 20000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(readEnd);
    EXPECT_EQ(output, "tavren 1.3.1\n");
    EXPECT_EQ(code, 0u);
}

} // namespace
} // namespace tavren::backend::win32::testing
