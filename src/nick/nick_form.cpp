#include "nick_form.h"

namespace tavren::nick {

using namespace controls;

NickForm::NickForm() {
    // Outer size = client area + the same fixed frame that every window has.
    frm_nick.setGeometry({0, 0, kClientWidth + 100, kClientHeight + 580});
    // Children in tab order, which is also their creation order.
    place(Command1, frm_nick, {120, 0, 600, 255});
    place(Command2, frm_nick, {120, 360, 600, 255});
    place(Command3, frm_nick, {120, 720, 600, 255});
    place(Command4, frm_nick, {840, 720, 600, 255});
    place(Command5, frm_nick, {840, 360, 600, 255});
    place(Command6, frm_nick, {120, 1080, 600, 255});
    place(txt_nick, frm_nick, {120, 1320, 1335, 270});
    place(Command7, frm_nick, {840, 0, 600, 255});
    place(chk_AllwaysonTop, frm_nick, {840, 960, 735, 375});
    chk_AllwaysonTop.setVisible(false);
}

} // namespace tavren::nick
