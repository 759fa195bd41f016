#pragma once

#include "app/main_form.h"
#include "board/order_board.h"
#include "board/order_loader.h"
#include "board/order_press.h"
#include "delivery/irc_link.h"
#include "delivery/send_pipeline.h"
#include "delivery/target_lists.h"
#include "nick/nick_form.h"
#include "nick/nick_window.h"
#include "platform/services/services.h"
#include "settings/settings.h"

#include <string>

namespace tavren::app {

// The main window: owns both windows' controls and the objects that give them
// behaviour, and runs start-up, shut-down, the panel menu, resizing and stacking.
class MainWindow {
public:
    explicit MainWindow(services::Services services);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window (start-up runs in Form_Load) and shows it.
    void open();

    void Form_Load();
    void Form_Unload(bool& cancel);
    void Form_Resize();
    void mn_button_Click(int index);
    void mn_read_Click();
    void mn_siki_Click();
    void chk_sikikan_Click();
    void chk_AllwaysonTop_Click();
    void Command2_Click();

    // Order button `number` (1 to 81, as the board counts them) pressed from
    // outside the program (`tavren --press`): what a press on it with the left
    // mouse button runs, or with `right` the right one. False, with nothing
    // done, when the board does not show that button.
    bool pressOrderButton(int number, bool right);

    MainForm& form() { return form_; }
    nick::NickForm& nickForm() { return nickForm_; }
    board::OrderBoard& board() { return board_; }

    static std::string caption();

private:
    void connectEvents();

    services::Services services_;
    MainForm form_;
    nick::NickForm nickForm_;
    board::OrderBoard board_;
    delivery::TargetLists targets_;
    delivery::SendPipeline pipeline_;
    board::OrderPress press_;
    delivery::IrcLink link_;
    nick::NickWindow nick_;
    settings::Settings settings_;
    board::OrderLoader loader_;
};

} // namespace tavren::app
