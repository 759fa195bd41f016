#pragma once

#include "platform/controls/controls.h"

namespace tavren::nick {

// The design of the nick changer window "nick". It is created on first use
// (Form::load()), hidden; this struct holds no behaviour.
struct NickForm {
    NickForm();
    NickForm(const NickForm&) = delete;
    NickForm& operator=(const NickForm&) = delete;

    static constexpr double kClientWidth = 1590;
    static constexpr double kClientHeight = 1650;

    controls::Form frm_nick{"frm_nick", "nick"};
    // In tab order.
    controls::Button Command1{"Command1", nullptr, "通常"};
    controls::Button Command2{"Command2", nullptr, "WM"};
    controls::Button Command3{"Command3", nullptr, "WS"};
    controls::Button Command4{"Command4", nullptr, "D"};
    controls::Button Command5{"Command5", nullptr, "F"};
    controls::Button Command6{"Command6", nullptr, "HOQ"};
    controls::TextField txt_nick{"txt_nick", nullptr};
    controls::Button Command7{"Command7", nullptr, "A"};
    controls::CheckBox chk_AllwaysonTop{"chk_AllwaysonTop", nullptr, "手前"};
};

} // namespace tavren::nick
