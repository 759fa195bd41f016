#include "platform/backend/win32/wide_text.h"
#include "platform/view/win32/win32_open_dialog.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

namespace tavren::view::win32 {
namespace {

using namespace std::string_literals;

HWND findOwnDialog() {
    struct Search {
        DWORD process;
        HWND found;
    } search{GetCurrentProcessId(), nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == s->process && std::wstring(name) == L"#32770" &&
                IsWindowVisible(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND firstEdit(HWND dialog) {
    HWND found = nullptr;
    EnumChildWindows(
        dialog,
        [](HWND window, LPARAM param) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (std::wstring(name) == L"Edit" && IsWindowVisible(window)) {
                *reinterpret_cast<HWND*>(param) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Waits for the dialog, then types `path` into its name field (when given) and
// answers with `command`.
std::thread answerDialog(std::wstring path, WPARAM command) {
    return std::thread([path, command] {
        for (int i = 0; i < 1000; ++i) {
            if (HWND dialog = findOwnDialog()) {
                if (!path.empty()) {
                    HWND edit = firstEdit(dialog);
                    if (!edit) {
                        Sleep(10);
                        continue;
                    }
                    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
                }
                PostMessageW(dialog, WM_COMMAND, command, 0);
                return;
            }
            Sleep(10);
        }
    });
}

TEST(Win32OpenDialog, FilterTextJoinsPatternsAndEndsEveryPartWithANul) {
    const std::wstring text =
        openDialogFilterText({{"Orders (*.txt)", {"*.txt", "*.ord"}}, {"すべて", {"*.*"}}});
    EXPECT_EQ(text, L"Orders (*.txt)\0*.txt;*.ord\0すべて\0*.*\0\0"s);
}

TEST(Win32OpenDialog, ATypedNameOfAFileThatDoesNotExistIsReturnedAsUtf8) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"注文-new.txt";
    std::thread answer = answerDialog(path, IDOK);
    Win32OpenDialog dialog;
    const auto chosen = dialog.chooseFile({{"Text", {"*.txt"}}});
    answer.join();
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, backend::win32::wideToUtf8(path));
}

TEST(Win32OpenDialog, CancelChoosesNothing) {
    std::thread answer = answerDialog(L"", IDCANCEL);
    Win32OpenDialog dialog;
    EXPECT_FALSE(dialog.chooseFile({{"Text", {"*.txt"}}}).has_value());
    answer.join();
}

} // namespace
} // namespace tavren::view::win32
