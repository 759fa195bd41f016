#include "platform/backend/win32/handles.h"
#include "platform/backend/win32/win32_stacking.h"
#include "platform/controls/form.h"
#include "target_process.h"

#include <gtest/gtest.h>

namespace tavren::backend::win32 {
namespace {

using testing::TargetProcess;
using testing::waitFor;

bool isTopmost(HWND window) {
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(Win32Stacking, KeepsTheFormsWindowAboveAndStopsWithoutMovingIt) {
    TargetProcess target({L"v:stacking"});
    const controls::Form form("IRC_Quorvel", "stacking");
    const controls::Form* asked = nullptr;
    Win32Stacking stacking([&](const controls::Form& f) {
        asked = &f;
        return fromHwnd(target.window());
    });
    RECT before{};
    GetWindowRect(target.window(), &before);
    ASSERT_FALSE(isTopmost(target.window()));

    stacking.setKeepAbove(form, true);
    EXPECT_EQ(asked, &form);
    EXPECT_TRUE(waitFor([&] { return isTopmost(target.window()); }));
    RECT during{};
    GetWindowRect(target.window(), &during);
    EXPECT_TRUE(sameRect(before, during));

    stacking.setKeepAbove(form, false);
    EXPECT_TRUE(waitFor([&] { return !isTopmost(target.window()); }));
    RECT after{};
    GetWindowRect(target.window(), &after);
    EXPECT_TRUE(sameRect(before, after));
}

} // namespace
} // namespace tavren::backend::win32
