#pragma once

#include "platform/controls/controls.h"
#include "platform/controls/form_frame.h"

namespace tavren::app {

// The design of the main window: every control with its caption, geometry (twips)
// and design state, hidden ones included. Behaviour objects receive references
// to the controls they work on; this struct holds no behaviour.
struct MainForm {
    MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // The outer size of the window is its client area plus the views' fixed
    // frame (borders, title bar, menu bar), as the resize rules assume.
    static constexpr double kFrameWidth = controls::FormFrame::kFrameWidth;
    static constexpr double kFrameHeight = controls::FormFrame::kFrameHeight;
    static constexpr double kClientWidth = 4935;
    static constexpr double kClientHeight = 4905;

    controls::Form IRC_Quorvel{"IRC_Quorvel", "IRC Quorvel"};

    // Menu bar, in order.
    controls::ControlArray<controls::MenuItem> mn_button;
    controls::MenuItem mn_read;
    controls::MenuItem mn_siki;

    // Panels: 0 settings, 1 never shown, 2 the order board.
    controls::ControlArray<controls::Frame> Frame;

    // Settings panel.
    controls::ControlArray<controls::Label> lbl;
    controls::ComboBox combo_UO2;
    controls::CheckBox chk_uo;
    controls::Button WindowDataGet;
    controls::ComboBox combo_UO;
    controls::CheckBox chk_AllwaysonTop;
    controls::CheckBox chk_sikikan;
    controls::CheckBox chk_rename;
    controls::CheckBox chk_Key;
    controls::Button Command2;
    controls::Label Label1;
    controls::TextField sendtext;
    controls::Label Label7;
    controls::ComboBox cmb_Bgap;
    controls::Frame Frame2;
    controls::Label Label6;
    controls::ControlArray<controls::OptionButton> OpT;
    controls::Frame Frame1;
    controls::Label Label2;
    controls::ControlArray<controls::OptionButton> OpY;

    // Hidden panel: state holders only.
    controls::Button btn_Send;
    controls::ComboBox Combo_IRC;
    controls::ComboBox Combo_hWnd;
    controls::Button Command1;
    controls::CheckBox chk_syuryo;
    controls::CheckBox chk_enter;

    // Order board.
    controls::ControlArray<controls::Button> tavren;

    // Never shown: the IRC link's end point and the server name.
    controls::Label DDETEXT;
    controls::TextField servername;
    controls::Timer Timer1;

private:
    void design();
};

} // namespace tavren::app
