#pragma once

#include "platform/controls/controls.h"
#include "platform/services/window_manager.h"

namespace tavren::delivery {

// The lists of open top-level windows from which the user picks the send
// destination and the return window, and the return switch.
class TargetLists {
public:
    struct Controls {
        controls::ComboBox& combo_UO2;   // send destination ("送信先")
        controls::ComboBox& combo_UO;    // return window
        controls::ComboBox& Combo_IRC;   // hidden third copy of the titles
        controls::ComboBox& Combo_hWnd;  // hidden: window handles as decimal text
        controls::CheckBox& chk_uo;      // return switch
        controls::Button& WindowDataGet; // "再取得"
    };

    // Connects the controls' events to the handlers below.
    TargetLists(Controls controls, services::WindowManager& windows);

    // Discovery: fills the four lists, topmost window first; clears the picks.
    void WindowDataGet_MouseDown(const controls::MouseEvent& e);
    // Enables and colours the return list and the refresh button after chk_uo.
    void chk_uo_Click();

    TargetLists(const TargetLists&) = delete;
    TargetLists& operator=(const TargetLists&) = delete;

private:
    Controls c_;
    services::WindowManager& windows_;
};

} // namespace tavren::delivery
