#include "main_form.h"

#include <string>

namespace tavren::app {

using namespace controls;

namespace {
constexpr int kOrderButtons = 82;
} // namespace

MainForm::MainForm()
    : mn_read("mn_read", nullptr, "読込"), mn_siki("mn_siki", nullptr, "OFF"),
      combo_UO2("combo_UO2", nullptr),
      chk_uo("chk_uo", nullptr, "ボタンを押した後、選択したwindowをアクティブにする"),
      WindowDataGet("WindowDataGet", nullptr, "再取得"), combo_UO("combo_UO", nullptr),
      chk_AllwaysonTop("chk_AllwaysonTop", nullptr, "常に手前に表示"),
      chk_sikikan("chk_sikikan", nullptr, "指揮官モード（文字色：赤）"),
      chk_rename("chk_rename", nullptr, "ニック変更ボタン表示"),
      chk_Key("chk_Key", nullptr, "キーボード監視"), Command2("Command2", nullptr, "0.0"),
      Label1("Label1", nullptr, "送信テスト"), sendtext("sendtext", nullptr),
      Label7("Label7", nullptr, "ボタン間隔"), cmb_Bgap("cmb_Bgap", nullptr, "3"),
      Frame2("Frame2", nullptr), Label6("Label6", nullptr, "縦"), Frame1("Frame1", nullptr),
      Label2("Label2", nullptr, "横"), btn_Send("btn_Send", nullptr, "送信"),
      Combo_IRC("Combo_IRC", nullptr), Combo_hWnd("Combo_hWnd", nullptr),
      Command1("Command1", nullptr, "読込"),
      chk_syuryo("chk_syuryo", nullptr, "送信終了まで待つ", 2),
      chk_enter("chk_enter", nullptr, "メッセージ送信時、enterを2回押す", 2),
      DDETEXT("DDETEXT", nullptr, ""), servername("servername", nullptr, "Text1"),
      Timer1("Timer1", nullptr) {
    design();
}

void MainForm::design() {
    Form& form = IRC_Quorvel;
    form.setGeometry({1440, 1440, kClientWidth + kFrameWidth, kClientHeight + kFrameHeight});

    // Menu bar, in this order.
    mn_button.add(0, "mn_button", &form, "設定", 0);
    mn_button.add(1, "mn_button", &form, "オプション", 1).setVisible(false);
    mn_button.add(2, "mn_button", &form, "指揮", 2).setEnabled(false);
    mn_read.attachTo(form);
    mn_siki.attachTo(form);
    mn_siki.setVisible(false);

    // Panels, stacked as designed: the settings panel at the bottom, the board on top.
    place(Frame.add(0, "Frame", nullptr, 0), form, {0, 0, 5295, 2655});
    place(Frame.add(1, "Frame", nullptr, 1), form, {2280, 2160, 4575, 1935});
    Frame[1].setVisible(false);
    place(Frame.add(2, "Frame", nullptr, 2), form, {0, -120, 4575, 1935});

    Control& settings = Frame[0];
    place(lbl.add(1, "lbl", nullptr, "送信先", 1), settings, {120, 0, 975, 255});
    lbl[1].setForeColour(kRed);
    place(combo_UO2, settings, {720, 0, 2535, 300});
    place(chk_uo, settings, {120, 360, 2415, 375});
    place(WindowDataGet, settings, {2520, 360, 735, 300});
    place(combo_UO, settings, {120, 720, 3135, 300});
    place(chk_AllwaysonTop, settings, {120, 1080, 1575, 255});
    place(chk_sikikan, settings, {1920, 1080, 1335, 375});
    chk_sikikan.setEnabled(false);
    place(chk_rename, settings, {120, 1320, 1575, 375});
    chk_rename.setEnabled(false);
    place(chk_Key, settings, {1920, 1440, 1215, 375});
    place(Command2, settings, {840, 1500, 375, 255});
    place(Label1, settings, {120, 1800, 855, 255});
    place(sendtext, settings, {960, 1800, 2295, 270});
    place(Label7, settings, {3600, 1800, 495, 375});
    place(cmb_Bgap, settings, {4080, 1800, 495, 300});
    place(Frame2, settings, {3360, 0, 495, 1695});
    place(Label6, Frame2, {0, 0, 675, 255});
    place(Frame1, settings, {3960, 0, 615, 1695});
    place(Label2, Frame1, {0, 0, 675, 495});
    for (int k = 2; k <= 9; ++k) {
        const std::string digit = std::to_string(k);
        const Rect r{120, 120 + 200.0 * (k - 2), 495, 180};
        place(OpT.add(k, "OpT", nullptr, digit, k), Frame2, r);
        place(OpY.add(k, "OpY", nullptr, digit, k), Frame1, r);
    }
    // The design selection, made before any handler is connected.
    OpT[4].select();
    OpY[2].select();

    // The hidden panel's controls are hidden too; they only hold state.
    Control& hidden = Frame[1];
    place(btn_Send, hidden, {120, 120, 855, 375});
    place(Combo_IRC, hidden, {120, 600, 2055, 300});
    place(Combo_hWnd, hidden, {2280, 600, 2055, 300});
    place(Command1, hidden, {1080, 120, 855, 375});
    place(chk_syuryo, hidden, {120, 1080, 3000, 255});
    place(chk_enter, hidden, {120, 1440, 3000, 255});
    for (Control* c : hidden.children())
        c->setVisible(false);

    Control& board = Frame[2];
    for (int i = 0; i < kOrderButtons; ++i)
        place(tavren.add(i, "tavren", nullptr, "tavren", i), board, {0, 0, 1215, 495});

    place(DDETEXT, form, {960, 2160, 1455, 375});
    DDETEXT.setVisible(false);
    servername.attachTo(form);
    servername.setVisible(false);
    Timer1.attachTo(form);
}

} // namespace tavren::app
