// Every caption of the two windows tavren.exe opens, readable at the designed
// geometry: the main window (settings panel and order board) and the nick window
// as start-up builds them, walked window by window at the DPI the test runs at
// (tests/view/win32/run-with-design-font.sh). Each caption's lines, broken by the
// shared rule in the font its window has, must lie inside the window's caption
// area (beside a box or circle), at no less than the smallest caption size, clear
// of every other caption and of every sibling window stacked above it.
#include "app/main_window.h"
#include "dpi_awareness.h"
#include "fakes/fake_services.h"
#include "platform/backend/win32/wide_text.h"
#include "platform/controls/caption_room.h"
#include "platform/view/win32/caption_metrics.h"
#include "platform/view/win32/child_views.h"
#include "platform/view/win32/win32_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace tavren;
using namespace tavren::view::win32;

namespace {

constexpr const char* kOrders = "攻撃開始！,FF8080\r撤退,8080FF\r集合＠本陣,80FF80\r"
                                "回復求む,FFFF80\r敵発見\\北\r了解\rお疲れ様でした\r待機,C0C0C0\r";

// A caption as its window lays it out, on the screen.
struct Shown {
    HWND window = nullptr;
    std::string name;
    RECT text{}; // the block of its lines
};

const std::string* captionOf(const controls::Control& c) {
    switch (c.kind()) {
    case controls::Kind::Label:
        return &static_cast<const controls::Label&>(c).caption();
    case controls::Kind::Button:
        return &static_cast<const controls::Button&>(c).caption();
    case controls::Kind::CheckBox:
        return &static_cast<const controls::CheckBox&>(c).caption();
    case controls::Kind::OptionButton:
        return &static_cast<const controls::OptionButton&>(c).caption();
    default:
        return nullptr;
    }
}

bool intersects(const RECT& a, const RECT& b) {
    RECT both{};
    return ::IntersectRect(&both, &a, &b) != 0;
}

// Whether a window's shape (its region, or else its rectangle) covers part of
// `r`, on the screen.
bool hides(HWND window, const RECT& r) {
    RECT outer{};
    ::GetWindowRect(window, &outer);
    HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(window, shape) == ERROR) {
        ::DeleteObject(shape);
        return intersects(r, outer);
    }
    ::OffsetRgn(shape, outer.left, outer.top);
    const bool covered = ::RectInRegion(shape, &r) != 0;
    ::DeleteObject(shape);
    return covered;
}

RECT onScreen(HWND window, RECT r) {
    ::MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::vector<HWND> visibleDescendants(HWND top) {
    std::vector<HWND> found;
    ::EnumChildWindows(
        top,
        [](HWND w, LPARAM all) -> BOOL {
            if (::IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(all)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        std::max(0, ::GetWindowTextW(window, text.data(), static_cast<int>(text.size())))));
    return backend::win32::wideToUtf8(text);
}

controls::PixelEdges edgesOf(const RECT& r) {
    return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
            static_cast<int>(r.bottom)};
}

// The part of a window's caption area (on the screen) its siblings stacked
// above it leave; all of it for a label, which they leave uncovered.
int roomWidth(HWND window, const controls::Control& control, const RECT& area) {
    controls::PixelEdges room = edgesOf(area);
    if (control.kind() == controls::Kind::Label) return room.right - room.left;
    for (HWND above = ::GetWindow(window, GW_HWNDPREV); above;
         above = ::GetWindow(above, GW_HWNDPREV)) {
        if (!::IsWindowVisible(above)) continue;
        RECT cover{};
        ::GetWindowRect(above, &cover);
        room = controls::captionRoomBeside(room, edgesOf(cover));
    }
    return room.right - room.left;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i > 0 ? "\r\n" : "") + lines[i];
    return text;
}

// Checks one window's caption and returns where its lines are, or nothing when
// it shows none.
bool layOut(HWND window, Shown& shown) {
    const ChildView* child = ChildView::of(window);
    if (!child) return false;
    const controls::Control& control = child->control();
    const std::string* caption = captionOf(control);
    if (!caption || caption->empty()) return false;
    shown.window = window;
    shown.name = control.name() + " \"" + *caption + "\"";
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
    LOGFONTW described{};
    EXPECT_NE(::GetObjectW(font, sizeof described, &described), 0) << shown.name;
    const int size = -described.lfHeight;
    const GdiCaptionMetrics metrics(described);
    RECT client{};
    ::GetClientRect(window, &client);
    const RECT area = captionAreaOf(control.kind(), client);
    const int width = area.right - area.left;
    const auto lines = text::breakCaption(
        *caption, width, [&](std::string_view line) { return metrics.lineWidth(line, size); });
    int widest = 0;
    for (const std::string& line : lines)
        widest = std::max(widest, metrics.lineWidth(line, size));
    const int height = static_cast<int>(lines.size()) * metrics.lineHeight(size);
    // The captions were designed at 9 points.
    const int designSize = ::MulDiv(9, static_cast<int>(::GetDpiForSystem()), 72);
    EXPECT_GE(size, text::smallestCaptionPixelSize(designSize)) << shown.name;
    EXPECT_LE(widest, width) << shown.name;
    EXPECT_LE(height, area.bottom - area.top)
        << shown.name << ": " << lines.size() << " lines of " << metrics.lineHeight(size)
        << " px at " << size << " px in " << (area.bottom - area.top) << " px";
    // Where the window puts its lines: a label at its top left, a push button
    // in its middle, a check box or option button centred down its side. The
    // lines of a caption of more lines are taken as wide as the caption area.
    if (lines.size() > 1) widest = width;
    RECT block{area.left, area.top, area.left + widest, area.top + height};
    const int spareHeight = area.bottom - area.top - height;
    if (control.kind() == controls::Kind::Button) {
        ::OffsetRect(&block, (width - widest) / 2, spareHeight / 2);
    } else if (control.kind() != controls::Kind::Label) {
        const bool right = (::GetWindowLongPtrW(window, GWL_STYLE) & BS_CENTER) == BS_RIGHT;
        ::OffsetRect(&block, right ? width - widest : 0, spareHeight / 2);
    }
    shown.text = onScreen(window, block);
    // A native control shows the lines of the rule every caption follows: its
    // text has them, a line break between two, and it breaks a line itself
    // only where the line is wider than its caption area, which these never
    // are. An owner-drawn button draws them and keeps its caption as its text.
    const bool ownerDrawn = control.kind() == controls::Kind::Button &&
                            (::GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
    const int room = roomWidth(window, control, onScreen(window, area));
    EXPECT_EQ(textOf(window),
              ownerDrawn ? *caption
                         : joined(text::breakCaption(*caption, room,
                                                     [&](std::string_view line) {
                                                         return metrics.lineWidth(line, size);
                                                     })))
        << shown.name;
    return true;
}

void expectReadable(HWND top, const char* where) {
    ASSERT_TRUE(top && ::IsWindowVisible(top)) << where;
    std::vector<Shown> captions;
    for (HWND w : visibleDescendants(top)) {
        Shown s;
        if (layOut(w, s)) captions.push_back(s);
    }
    ASSERT_FALSE(captions.empty()) << where;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        for (std::size_t j = i + 1; j < captions.size(); ++j)
            EXPECT_FALSE(intersects(captions[i].text, captions[j].text))
                << where << ": " << captions[i].name << " and " << captions[j].name;
        // A sibling stacked above hides what it covers.
        for (HWND above = ::GetWindow(captions[i].window, GW_HWNDPREV); above;
             above = ::GetWindow(above, GW_HWNDPREV)) {
            if (!::IsWindowVisible(above)) continue;
            const ChildView* cover = ChildView::of(above);
            EXPECT_FALSE(hides(above, captions[i].text))
                << where << ": " << captions[i].name << " under "
                << (cover ? cover->control().name() : std::string("?"));
        }
    }
}

class ReadableCaptions : public ::testing::Test {
protected:
    void SetUp() override {
        platform.files.files["tavren.txt"] = kOrders;
        view.addForm(window.form().IRC_Quorvel);
        view.addForm(window.nickForm().frm_nick);
        window.open();
        window.form().chk_rename.setValue(1); // shows the nick window
    }

    fakes::FakePlatform platform;
    app::MainWindow window{platform.services()};
    Win32View view; // the system's DPI, as tavren.exe builds it
};

TEST_F(ReadableCaptions, OnTheSettingsPanel) {
    expectReadable(view.windowFor(window.form().Frame[0]), "settings panel");
}

TEST_F(ReadableCaptions, OnTheOrderBoard) {
    window.mn_button_Click(2);
    expectReadable(view.windowFor(window.form().Frame[2]), "order board");
}

TEST_F(ReadableCaptions, OnTheNickWindow) {
    expectReadable(view.windowFor(window.nickForm().frm_nick), "nick window");
}

} // namespace

int main(int argc, char** argv) {
    tavren::program::becomeDpiAware(); // as tavren.exe does first
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
