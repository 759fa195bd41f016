#pragma once

#include "platform/controls/controls.h"

namespace tavren::view::qt::fixtures {

// A small window of every kind of control, laid out in twips like the real ones.
struct SampleForm {
    controls::Form form{"IRC_Quorvel", "設定テスト"};
    controls::Frame settings{"Frame", &form, 0};
    controls::Frame board{"Frame", &form, 2};
    controls::Label label{"lbl", &settings, "送信先", 1};
    controls::ComboBox combo{"combo_UO2", &settings};
    controls::CheckBox check{"chk_uo", &settings, "ボタンを押した後"};
    controls::Button refresh{"WindowDataGet", &settings, "再取得"};
    controls::TextField send{"sendtext", &settings};
    controls::Frame rows{"Frame2", &settings};
    controls::OptionButton row2{"OpT", &rows, "2", 2};
    controls::OptionButton row3{"OpT", &rows, "3", 3};
    controls::Button order{"tavren", &board, "tavren", 0};
    controls::MenuItem settingsItem{"mn_button", &form, "設定", 0};
    controls::MenuItem optionItem{"mn_button", &form, "オプション", 1};
    controls::Timer timer{"Timer1", &form};

    SampleForm() {
        form.setGeometry({1200, 2400, 4900, 3580}); // client 4800 x 3000 twips
        settings.setGeometry({0, 0, 4800, 3000});
        board.setGeometry({0, -120, 4800, 3000});
        label.setGeometry({120, 0, 975, 255});
        combo.setGeometry({1200, 0, 2400, 300});
        check.setGeometry({120, 360, 2400, 372});
        refresh.setGeometry({2520, 360, 720, 300});
        send.setGeometry({960, 1800, 2304, 276});
        rows.setGeometry({3600, 480, 1200, 1200});
        row2.setGeometry({0, 0, 1200, 300});
        row3.setGeometry({0, 360, 1200, 300});
        order.setGeometry({120, 120, 1200, 600});
    }
};

} // namespace tavren::view::qt::fixtures
