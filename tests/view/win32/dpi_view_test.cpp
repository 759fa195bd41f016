// The native view on a screen of 96, 144 or 192 DPI (100, 150 and 200 %), as
// Windows reports it to a system-aware program: run by tests/view/win32/run-at-dpi.sh,
// which sets the Wine prefix's LogPixels for this program only and puts it back
// after; the DPI expected comes as TAVREN_TEST_DPI.
#include "../qt/sample_form.h"

#include "dpi_awareness.h"
#include "platform/view/win32/win32_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace tavren;
using namespace tavren::view::win32;

namespace {

RECT rectInParent(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

unsigned expectedDpi() {
    const char* dpi = std::getenv("TAVREN_TEST_DPI");
    return dpi ? static_cast<unsigned>(std::atoi(dpi)) : 144u;
}

// Twips in this DPI's pixels, halves away from zero.
long px(double twips) {
    return std::lround(twips * expectedDpi() / 1440.0);
}

class Win32ViewAtDpi : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::GetDpiForSystem(), expectedDpi())
            << "not run at " << expectedDpi() << " DPI (tests/view/win32/run-at-dpi.sh)";
        view = std::make_unique<Win32View>(); // the system's DPI, as tavren.exe builds it
        view->addForm(f.form);
        f.form.setVisible(true);
    }
    HWND of(const controls::Control& c) const { return view->windowFor(c); }

    view::qt::fixtures::SampleForm f;
    std::unique_ptr<Win32View> view;
};

TEST_F(Win32ViewAtDpi, TwipsFollowTheDpi) {
    EXPECT_DOUBLE_EQ(view->scale().perPixelX, 1440.0 / expectedDpi());
    EXPECT_DOUBLE_EQ(view->scale().perPixelY, 1440.0 / expectedDpi());
}

TEST_F(Win32ViewAtDpi, PlacesAndSizesGrowWithTheDpi) {
    RECT outer{};
    ::GetWindowRect(of(f.form), &outer);
    EXPECT_EQ(outer.left, px(1200));
    EXPECT_EQ(outer.top, px(2400));
    // The client area, around which Windows draws its frame at this DPI.
    RECT client{};
    ::GetClientRect(of(f.form), &client);
    EXPECT_EQ(client.right, px(4800));  // 4900 twips less the 100 of the fixed frame
    EXPECT_EQ(client.bottom, px(3000)); // 3580 twips less 580
    const RECT check = rectInParent(of(f.check));
    EXPECT_EQ(check.left, px(120));
    EXPECT_EQ(check.top, px(360));
    EXPECT_EQ(check.right - check.left, px(2400));
    const RECT refresh = rectInParent(of(f.refresh));
    EXPECT_EQ(refresh.left, px(2520));
    EXPECT_EQ(refresh.right - refresh.left, px(720));
    EXPECT_EQ(refresh.bottom - refresh.top, px(300));
    // A control the program moves lands at its twips in this DPI's pixels.
    f.refresh.setLeft(1505);
    EXPECT_EQ(rectInParent(of(f.refresh)).left, px(1505));
}

TEST_F(Win32ViewAtDpi, TheFontIsTheSystemsAtThisDpi) {
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(of(f.check), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW described{};
    ASSERT_NE(::GetObjectW(font, sizeof described, &described), 0);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    EXPECT_EQ(described.lfHeight, metrics.lfMessageFont.lfHeight);
}

} // namespace

int main(int argc, char** argv) {
    // As tavren.exe does first: otherwise Windows reports 96 and stretches the windows.
    tavren::program::becomeDpiAware();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
