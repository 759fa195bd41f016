// The native view on a screen of 144 DPI (150 %), as Windows reports it to a
// DPI-aware program: run by tests/win32/run-at-dpi.sh, which sets the Wine
// prefix's LogPixels for this program only and puts it back after.
#include "../qt/sample_form.h"

#include "dpi_awareness.h"
#include "platform/win32_view/win32_view.h"

#include <gtest/gtest.h>

using namespace tavren;
using namespace tavren::win32;

namespace {

RECT rectInParent(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class Win32ViewAt144Dpi : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::GetDpiForSystem(), 144u) << "not run at 144 DPI (tests/win32/run-at-dpi.sh)";
        view = std::make_unique<Win32View>(); // the system's DPI, as tavren.exe builds it
        view->addForm(f.form);
        f.form.setVisible(true);
    }
    HWND of(const controls::Control& c) const { return view->windowFor(c); }

    qt::fixtures::SampleForm f;
    std::unique_ptr<Win32View> view;
};

TEST_F(Win32ViewAt144Dpi, TwipsAreTenToThePixel) {
    EXPECT_DOUBLE_EQ(view->scale().perPixelX, 10.0);
    EXPECT_DOUBLE_EQ(view->scale().perPixelY, 10.0);
}

TEST_F(Win32ViewAt144Dpi, PlacesAndSizesGrowWithTheDpi) {
    RECT outer{};
    ::GetWindowRect(of(f.form), &outer);
    EXPECT_EQ(outer.left, 120); // 1200 twips
    EXPECT_EQ(outer.top, 240);  // 2400 twips
    // The client area, around which Windows draws its frame at this DPI.
    RECT client{};
    ::GetClientRect(of(f.form), &client);
    EXPECT_EQ(client.right, 480);  // 4900 twips less the 100 of the fixed frame
    EXPECT_EQ(client.bottom, 300); // 3580 twips less 580
    const RECT check = rectInParent(of(f.check));
    EXPECT_EQ(check.left, 12);
    EXPECT_EQ(check.top, 36);
    EXPECT_EQ(check.right - check.left, 240);
    const RECT refresh = rectInParent(of(f.refresh));
    EXPECT_EQ(refresh.left, 252);
    EXPECT_EQ(refresh.right - refresh.left, 72);
    EXPECT_EQ(refresh.bottom - refresh.top, 30);
    // A control the program moves lands at its twips in this DPI's pixels.
    f.refresh.setLeft(1505);
    EXPECT_EQ(rectInParent(of(f.refresh)).left, 151);
}

TEST_F(Win32ViewAt144Dpi, TheFontIsTheSystemsAtThisDpi) {
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(of(f.check), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW described{};
    ASSERT_NE(::GetObjectW(font, sizeof described, &described), 0);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    EXPECT_EQ(described.lfHeight, metrics.lfMessageFont.lfHeight);
    // Wine's message font is 11 pixels at 96 DPI and 17 at 144 (measured).
    EXPECT_EQ(described.lfHeight, -17);
}

} // namespace

int main(int argc, char** argv) {
    // As tavren.exe does first: otherwise Windows reports 96 and stretches the windows.
    tavren::program::becomeDpiAware();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
