#include "target_lists.h"

#include "window_title.h"

#include <string>

namespace tavren::delivery {

namespace {

constexpr std::size_t kListedTitleBytes = 254;

} // namespace

TargetLists::TargetLists(Controls controls, services::WindowManager& windows)
    : c_(controls), windows_(windows) {
    c_.WindowDataGet.mouseDown.connect(
        [this](const controls::MouseEvent& e) { WindowDataGet_MouseDown(e); });
    c_.chk_uo.clicked.connect([this] { chk_uo_Click(); });
}

void TargetLists::WindowDataGet_MouseDown(const controls::MouseEvent&) {
    // Clearing also drops the picks: an old pick would otherwise point at
    // whatever window now sits at that position.
    c_.combo_UO.clear();
    c_.combo_UO2.clear();
    c_.Combo_IRC.clear();
    c_.Combo_hWnd.clear();

    for (const auto& window : windows_.topLevelWindows()) {
        if (!window.visible || isBlankTitle(window.title)) continue;
        const std::string title(cutTitle(window.title, kListedTitleBytes));
        const std::string handle = std::to_string(window.handle);
        c_.combo_UO.addItem(title);
        c_.combo_UO2.addItem(title);
        c_.Combo_IRC.addItem(title);
        c_.Combo_hWnd.addItem(handle);
        // The edit texts remember the lowest game client window. They pick
        // nothing: only the user's pick in the drop-down lists is ever sent to.
        if (looksLikeGameClient(title)) {
            c_.Combo_IRC.setText(title);
            c_.Combo_hWnd.setText(handle);
        }
    }
}

void TargetLists::chk_uo_Click() {
    const bool on = c_.chk_uo.value() == 1;
    c_.combo_UO.setEnabled(on);
    c_.WindowDataGet.setEnabled(on);
    c_.combo_UO.setBackColour(on ? controls::kWindowBackground : controls::kButtonFace);
}

} // namespace tavren::delivery
