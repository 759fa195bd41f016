#include "platform/view/win32/win32_screens.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace tavren::view::win32 {
namespace {

TEST(Win32Screens, ThePrimaryWorkAreaInTwipsAtTheGivenResolution) {
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    const auto at96 = Win32Screens(96).availableGeometries();
    ASSERT_FALSE(at96.empty());
    bool found = false;
    for (const auto& r : at96)
        found = found || (r.left == work.left * 15.0 && r.top == work.top * 15.0 &&
                          r.width == (work.right - work.left) * 15.0 &&
                          r.height == (work.bottom - work.top) * 15.0);
    EXPECT_TRUE(found);
    const auto at192 = Win32Screens(192).availableGeometries();
    ASSERT_EQ(at192.size(), at96.size());
    EXPECT_DOUBLE_EQ(at192[0].width * 2, at96[0].width);
}

} // namespace
} // namespace tavren::view::win32
