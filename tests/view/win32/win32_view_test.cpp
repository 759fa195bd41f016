// The native view against the real windows it builds: classes, styles, places in
// pixels, captions, owner drawing, and the user's input turned into the controls'
// events.
#include "../qt/sample_form.h"
#include "target_process.h"

#include "platform/backend/win32/wide_text.h"
#include "platform/view/win32/caption_metrics.h"
#include "platform/view/win32/stacking_order.h"
#include "platform/view/win32/win32_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace tavren;
using namespace tavren::view::win32;
using tavren::backend::win32::testing::dispatchUntil;

namespace {

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

std::string textOf(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return backend::win32::wideToUtf8(text);
}

LONG_PTR styleOf(HWND window) {
    return ::GetWindowLongPtrW(window, GWL_STYLE);
}

RECT rectInParent(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class Win32ViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.addForm(f.form);
        f.form.setVisible(true);
    }
    HWND of(const controls::Control& c) const { return view.windowFor(c); }

    view::qt::fixtures::SampleForm f;
    Win32View view{TwipsScale::forDpi(96, 96)};
};

TEST_F(Win32ViewTest, EveryControlHasAWindowOfItsKind) {
    EXPECT_EQ(classOf(of(f.form)), L"TavrenForm");
    EXPECT_EQ(classOf(of(f.settings)), L"TavrenFrame");
    EXPECT_EQ(classOf(of(f.label)), L"Static");
    EXPECT_EQ(classOf(of(f.combo)), L"ComboBox");
    EXPECT_EQ(classOf(of(f.send)), L"Edit");
    EXPECT_EQ(classOf(of(f.refresh)), L"Button");
    EXPECT_EQ(styleOf(of(f.refresh)) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(styleOf(of(f.order)) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(styleOf(of(f.check)) & BS_TYPEMASK, BS_3STATE);
    EXPECT_EQ(styleOf(of(f.row2)) & BS_TYPEMASK, BS_RADIOBUTTON);
    EXPECT_EQ(styleOf(of(f.combo)) & 3, CBS_DROPDOWN);
    EXPECT_EQ(::GetParent(of(f.row2)), of(f.rows));
    EXPECT_EQ(::GetParent(of(f.rows)), of(f.settings));
    EXPECT_TRUE(styleOf(of(f.row2)) & WS_GROUP);
    EXPECT_FALSE(styleOf(of(f.row3)) & WS_GROUP);
    EXPECT_EQ(view.nativeWindowId(f.form),
              static_cast<services::WindowHandle>(reinterpret_cast<INT_PTR>(of(f.form))));
}

TEST_F(Win32ViewTest, PlacesAreTheTwipsInPixels) {
    RECT outer{};
    ::GetWindowRect(of(f.form), &outer);
    EXPECT_EQ(outer.left, 80);
    EXPECT_EQ(outer.top, 160);
    // The form's outer size less the fixed frame the panels are sized by,
    // whatever frame Windows draws around it.
    RECT client{};
    ::GetClientRect(of(f.form), &client);
    EXPECT_EQ(client.right, 320);  // 4900 twips - 100
    EXPECT_EQ(client.bottom, 200); // 3580 twips - 580
    const RECT check = rectInParent(of(f.check));
    EXPECT_EQ(check.left, 8);
    EXPECT_EQ(check.top, 24);
    EXPECT_EQ(check.right - check.left, 160);
    const RECT refresh = rectInParent(of(f.refresh));
    EXPECT_EQ(refresh.left, 168);
    EXPECT_EQ(refresh.right - refresh.left, 48);
    EXPECT_EQ(refresh.bottom - refresh.top, 20);
    f.refresh.setLeft(1500);
    EXPECT_EQ(rectInParent(of(f.refresh)).left, 100);
    const RECT board = rectInParent(of(f.board));
    EXPECT_EQ(board.top, -8);
}

TEST_F(Win32ViewTest, CaptionsAreTheControlsIncludingJapanese) {
    EXPECT_EQ(textOf(of(f.form)), "設定テスト");
    EXPECT_EQ(textOf(of(f.label)), "送信先");
    EXPECT_EQ(textOf(of(f.check)), "ボタンを押した後");
    f.refresh.setCaption("更新");
    EXPECT_EQ(textOf(of(f.refresh)), "更新");
}

TEST_F(Win32ViewTest, HiddenMenuItemsAreLeftOut) {
    HMENU menu = ::GetMenu(of(f.form));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(::GetMenuItemCount(menu), 2);
    f.settingsItem.setVisible(false);
    ASSERT_EQ(::GetMenuItemCount(menu), 1);
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
    EXPECT_EQ(backend::win32::wideToUtf8(text), "オプション");
    int clicks = 0;
    f.optionItem.clicked.connect([&] { ++clicks; });
    ::SendMessageW(of(f.form), WM_COMMAND, MAKEWPARAM(::GetMenuItemID(menu, 0), 0), 0);
    EXPECT_EQ(clicks, 1);
}

TEST_F(Win32ViewTest, ClickAndMouseDownReachTheButton) {
    int clicks = 0;
    std::vector<controls::MouseEvent> presses;
    f.refresh.clicked.connect([&] { ++clicks; });
    f.refresh.mouseDown.connect([&](const controls::MouseEvent& e) { presses.push_back(e); });
    ::SendMessageW(of(f.refresh), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(presses.size(), 1u); // a click is a press and a release
    EXPECT_EQ(presses[0].button, controls::kLeftButton);
    presses.clear();
    ::SendMessageW(of(f.refresh), WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, MAKELPARAM(10, 4));
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].button, controls::kRightButton);
    EXPECT_EQ(presses[0].shift, controls::kShiftKey);
    EXPECT_EQ(presses[0].x, 150);
    EXPECT_EQ(presses[0].y, 60);
    EXPECT_EQ(clicks, 1); // the right button presses nothing
}

// An order press types while it processes pending events, and the user lets
// go of the mouse meanwhile: the release is taken up inside the press. The
// button must not keep the mouse after it, or the next click anywhere (on
// another order button) would go to it and type its order again.
TEST_F(Win32ViewTest, ReleaseDuringThePressLeavesTheMouseFree) {
    HWND button = of(f.order);
    int presses = 0;
    int releases = 0;
    f.order.mouseDown.connect([&](const controls::MouseEvent&) {
        ++presses;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
    });
    f.order.mouseUp.connect([&](const controls::MouseEvent&) { ++releases; });
    ::PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    ::SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(releases, 1);
    EXPECT_NE(::GetCapture(), button);
    EXPECT_EQ(::SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
}

TEST_F(Win32ViewTest, CheckBoxShowsEveryStateAndTheUserToggles) {
    f.check.setValue(2);
    EXPECT_EQ(::SendMessageW(of(f.check), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    ::SendMessageW(of(f.check), BM_CLICK, 0, 0);
    EXPECT_EQ(f.check.value(), 0);
    EXPECT_EQ(::SendMessageW(of(f.check), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    ::SendMessageW(of(f.check), BM_CLICK, 0, 0);
    EXPECT_EQ(f.check.value(), 1);
    EXPECT_EQ(::SendMessageW(of(f.check), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(Win32ViewTest, OptionClickSelectsAndClearsItsSiblings) {
    int clicks = 0;
    f.row3.clicked.connect([&] { ++clicks; });
    f.row2.select();
    ::SendMessageW(of(f.row3), BM_CLICK, 0, 0);
    EXPECT_TRUE(f.row3.value());
    EXPECT_EQ(::SendMessageW(of(f.row2), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(::SendMessageW(of(f.row3), BM_GETCHECK, 0, 0), BST_CHECKED);
    ::SendMessageW(of(f.row3), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2); // a click on the selected option counts as well
}

TEST_F(Win32ViewTest, EditingTheDropDownTextDropsThePick) {
    f.combo.addItem("メモ帳");
    f.combo.addItem("IRC");
    ::SendMessageW(of(f.combo), CB_SETCURSEL, 1, 0);
    ::SendMessageW(of(f.form), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(of(f.combo)));
    EXPECT_EQ(f.combo.listIndex(), 1);
    EXPECT_EQ(f.combo.text(), "IRC");
    // The user types the name of the other entry.
    HWND edit = ::FindWindowExW(of(f.combo), nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    ::SetWindowTextW(edit, L"メモ帳");
    ::SendMessageW(::GetParent(of(f.combo)), WM_COMMAND, MAKEWPARAM(0, CBN_EDITCHANGE),
                   reinterpret_cast<LPARAM>(of(f.combo)));
    EXPECT_EQ(f.combo.listIndex(), -1);
    EXPECT_EQ(f.combo.text(), "メモ帳");
    EXPECT_EQ(textOf(of(f.combo)), "メモ帳"); // the text stays as typed
    EXPECT_EQ(::SendMessageW(of(f.combo), CB_GETCURSEL, 0, 0), CB_ERR);
}

TEST_F(Win32ViewTest, TextFieldReportsTypingAndKeys) {
    std::vector<std::pair<int, int>> keys;
    f.send.keyDown.connect([&](int code, int shift) { keys.emplace_back(code, shift); });
    ::SendMessageW(of(f.send), WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].first, 13);
    ::SetWindowTextW(of(f.send), L"こんにちは");
    EXPECT_EQ(f.send.text(), "こんにちは");
    f.send.setText("abc");
    EXPECT_EQ(textOf(of(f.send)), "abc");
}

TEST_F(Win32ViewTest, OrderButtonIsDrawnInItsBackColour) {
    f.order.setBackColour(controls::rgb(0, 200, 0));
    HWND button = of(f.order);
    RECT r{};
    ::GetClientRect(button, &r);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, r.right, r.bottom);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    const COLORREF pixel = ::GetPixel(memory, 5, r.bottom / 2);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(pixel, RGB(0, 200, 0));
}

// What a window paints for itself, read back from a bitmap.
COLORREF pixelOf(HWND window, int x, int y) {
    RECT r{};
    ::GetClientRect(window, &r);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, r.right, r.bottom);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory),
                   PRF_CLIENT | PRF_ERASEBKGND);
    const COLORREF pixel = ::GetPixel(memory, x, y);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixel;
}

// The leftmost and rightmost columns where what a button paints for itself
// inside its edge differs from `background`, in rows fromRow to toRow.
std::pair<int, int> inkColumns(HWND button, int fromRow, int toRow, COLORREF background) {
    RECT r{};
    ::GetClientRect(button, &r);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, r.right, r.bottom);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    std::pair<int, int> ink{r.right, -1};
    for (int y = fromRow; y < toRow; ++y) {
        for (int x = 3; x < r.right - 3; ++x) {
            if (::GetPixel(memory, x, y) == background) continue;
            ink.first = std::min(ink.first, x);
            ink.second = std::max(ink.second, x);
        }
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return ink;
}

// An order button draws its caption in the lines every caption is broken into:
// a run of kanji stays whole ("キーボード" and "監視", not "キーボード監" and
// "視") where the earlier break still fills half the line.
TEST_F(Win32ViewTest, OrderButtonBreaksItsCaptionAsEveryCaptionIs) {
    HWND button = of(f.order);
    LOGFONTW font{};
    ASSERT_NE(::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(button, WM_GETFONT, 0, 0)),
                           sizeof font, &font),
              0);
    const int size = -font.lfHeight;
    const GdiCaptionMetrics metrics(font);
    const int six = metrics.lineWidth("キーボード監", size);
    const int seven = metrics.lineWidth("キーボード監視", size);
    const int lineHeight = metrics.lineHeight(size);
    // Inside its edge (3 pixels all round) the button holds "キーボード監" on a
    // line, not the whole caption, and two lines.
    const int width = (six + seven) / 2 + 6;
    const int height = 2 * lineHeight + 8;
    f.order.setBackColour(controls::rgb(0, 200, 0));
    f.order.setCaption("キーボード監視");
    f.order.setGeometry({f.order.left(), f.order.top(), width * 15.0, height * 15.0});
    const auto [left, right] = inkColumns(button, height / 2 + 1, height - 3, RGB(0, 200, 0));
    // Its last line is two characters wide, not one.
    const int one = metrics.lineWidth("視", size);
    const int two = metrics.lineWidth("監視", size);
    EXPECT_GT(right - left + 1, (one + two) / 2) << "the last line drawn is not 監視";
    EXPECT_LE(right - left + 1, two + 1) << "the last line drawn is not 監視";
}

TEST_F(Win32ViewTest, DropDownShowsItsBackColourInItsFieldAndList) {
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    ASSERT_TRUE(::GetComboBoxInfo(of(f.combo), &parts));
    ASSERT_NE(parts.hwndItem, nullptr);
    ASSERT_NE(parts.hwndList, nullptr);
    RECT field{};
    ::GetClientRect(parts.hwndItem, &field);
    f.combo.setBackColour(controls::rgb(255, 255, 0));
    EXPECT_EQ(pixelOf(parts.hwndItem, field.right - 2, field.bottom / 2), RGB(255, 255, 0));
    EXPECT_EQ(pixelOf(parts.hwndList, 2, 2), RGB(255, 255, 0));
    // The return window's list greys out as the option turns off.
    f.combo.setBackColour(controls::kButtonFace);
    EXPECT_EQ(pixelOf(parts.hwndItem, field.right - 2, field.bottom / 2),
              ::GetSysColor(COLOR_BTNFACE));
    f.combo.setBackColour(controls::kWindowBackground);
    EXPECT_EQ(pixelOf(parts.hwndItem, field.right - 2, field.bottom / 2),
              ::GetSysColor(COLOR_WINDOW));
}

TEST_F(Win32ViewTest, TimerTicksFromTheFormsWindowTimer) {
    int ticks = 0;
    f.timer.ticked.connect([&] { ++ticks; });
    f.timer.setInterval(20);
    EXPECT_TRUE(dispatchUntil([&] { return ticks >= 3; }));
    f.timer.setInterval(0);
    // Stopped: the window's timer is gone, so no tick can come however long we wait.
    EXPECT_EQ(::KillTimer(of(f.form), 1), FALSE);
    const int stoppedAt = ticks;
    const DWORD until = ::GetTickCount() + 200;
    dispatchUntil([&] { return static_cast<LONG>(::GetTickCount() - until) > 0; });
    EXPECT_EQ(ticks, stoppedAt);
}

TEST_F(Win32ViewTest, FramesStackAsTheirZOrder) {
    HWND form = of(f.form);
    // A point inside both panels: the one in front is the one found there.
    POINT inBoth{50, 50};
    f.board.bringToFront();
    EXPECT_EQ(::GetWindow(form, GW_CHILD), of(f.board));
    EXPECT_EQ(::ChildWindowFromPointEx(form, inBoth, CWP_SKIPINVISIBLE), of(f.board));
    f.settings.bringToFront();
    EXPECT_EQ(::GetWindow(form, GW_CHILD), of(f.settings));
    EXPECT_EQ(::ChildWindowFromPointEx(form, inBoth, CWP_SKIPINVISIBLE), of(f.settings));
}

TEST_F(Win32ViewTest, ClosingAsksTheForm) {
    bool refuse = true;
    f.form.unloading.connect([&](bool& cancel) { cancel = refuse; });
    ::SendMessageW(of(f.form), WM_CLOSE, 0, 0);
    EXPECT_TRUE(f.form.visible());
    EXPECT_TRUE(::IsWindowVisible(of(f.form)));
    refuse = false;
    ::SendMessageW(of(f.form), WM_CLOSE, 0, 0);
    EXPECT_FALSE(f.form.visible());
    EXPECT_FALSE(::IsWindowVisible(of(f.form)));
    EXPECT_TRUE(::IsWindow(of(f.form))); // hidden, not destroyed
}

TEST(Win32ViewLifetime, ViewDestroyedFirstLeavesTheControlsUsable) {
    view::qt::fixtures::SampleForm f;
    HWND window = nullptr;
    {
        Win32View view{TwipsScale::forDpi(96, 96)};
        view.addForm(f.form);
        f.form.load();
        window = view.windowFor(f.form);
        EXPECT_TRUE(::IsWindow(window));
    }
    EXPECT_FALSE(::IsWindow(window));
    f.refresh.setCaption("x");
    f.form.setVisible(true);
    f.combo.addItem("y");
}

// Stacked top first (the tab order follows the stacking), the children made
// in the order of `made`.
std::vector<const controls::Control*> stackingOf(const controls::Control& container,
                                                 const std::vector<controls::Control*>& made) {
    std::vector<StackedChild> children;
    for (const controls::Control* child : container.children()) {
        const auto rank = std::find(made.begin(), made.end(), child) - made.begin();
        children.push_back({child, static_cast<int>(rank)});
    }
    return stackingOrder(children, TwipsScale::forDpi(96, 96));
}

TEST(StackingOrder, ControlsInTheOrderMadeWhatIsDrawnInFrontAbove) {
    controls::Frame panel{"Frame", nullptr, 0};
    controls::Label label{"Label1", &panel, "ラベル"};
    controls::CheckBox box{"chk_rename", &panel, "ニック変更ボタン表示"};
    controls::Button button{"Command2", &panel, "0.0"};
    controls::TextField field{"sendtext", &panel};
    controls::Button hidden{"btn_Send", &panel, "送信"};
    label.setGeometry({0, 0, 3000, 300});
    box.setGeometry({120, 1320, 1575, 375});
    button.setGeometry({840, 1500, 375, 255}); // over the box
    field.setGeometry({960, 1740, 2295, 270}); // on the button's last line of pixels
    hidden.setGeometry({120, 1320, 1575, 375});
    hidden.setVisible(false);
    const std::vector<controls::Control*> made = panel.children();
    using Order = std::vector<const controls::Control*>;
    // The button over the box; the field just touching the button and the
    // hidden one where they were made; the label beneath.
    EXPECT_EQ(stackingOf(panel, made), (Order{&button, &box, &field, &hidden, &label}));
    box.bringToFront();
    EXPECT_EQ(stackingOf(panel, made), (Order{&box, &button, &field, &hidden, &label}));
}

} // namespace
