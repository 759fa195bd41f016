#include "main_window.h"

#include "app/version.h"

namespace tavren::app {

using controls::MouseEvent;

MainWindow::MainWindow(services::Services services)
    : services_(services),
      board_({form_.tavren, form_.Frame[2], form_.OpT, form_.OpY, form_.cmb_Bgap}),
      targets_({form_.combo_UO2, form_.combo_UO, form_.Combo_IRC, form_.Combo_hWnd, form_.chk_uo,
                form_.WindowDataGet},
               services.windowManager),
      pipeline_({form_.combo_UO2, form_.combo_UO, form_.Combo_hWnd, form_.chk_uo, form_.sendtext,
                 form_.btn_Send},
                services.windowManager, services.eventLoop, services.keyboard,
                services.diagnostics),
      press_({form_.tavren, form_.sendtext, form_.chk_Key, form_.Timer1}, pipeline_,
             services.keyMonitor),
      link_(form_.servername, services.conversation, services.diagnostics),
      nick_(nickForm_, form_.chk_rename, form_.servername, link_),
      settings_({form_.IRC_Quorvel, form_.chk_enter, form_.chk_AllwaysonTop, form_.chk_syuryo,
                 form_.chk_uo, form_.chk_rename, form_.OpT, form_.OpY, form_.cmb_Bgap},
                board_, nick_, services.profile, services.eventLoop, services.screens,
                services.diagnostics),
      loader_({form_.tavren, form_.chk_AllwaysonTop, form_.chk_rename, form_.servername,
               form_.Command1},
              {[this] { chk_AllwaysonTop_Click(); }, [this] { nick_.chk_rename_Click(); }}, board_,
              services.files, services.codec, services.openDialog, services.diagnostics) {
    connectEvents();
}

void MainWindow::connectEvents() {
    form_.IRC_Quorvel.loaded.connect([this] { Form_Load(); });
    form_.IRC_Quorvel.unloading.connect([this](bool& cancel) { Form_Unload(cancel); });
    form_.IRC_Quorvel.resized.connect([this] { Form_Resize(); });
    form_.mn_button.forEach([this](int index, controls::MenuItem& item) {
        item.clicked.connect([this, index] { mn_button_Click(index); });
    });
    form_.mn_read.clicked.connect([this] { mn_read_Click(); });
    form_.mn_siki.clicked.connect([this] { mn_siki_Click(); });
    form_.chk_sikikan.clicked.connect([this] { chk_sikikan_Click(); });
    form_.chk_AllwaysonTop.clicked.connect([this] { chk_AllwaysonTop_Click(); });
    form_.Command2.clicked.connect([this] { Command2_Click(); });
}

std::string MainWindow::caption() {
    return std::string("Tavren（汎用タイプ） Ver") + kVersionText;
}

void MainWindow::open() {
    form_.IRC_Quorvel.load();
    // Ended during start-up: nothing is shown any more.
    if (services_.eventLoop.ending()) return;
    // The first showing lays the window out as any resize does, done before it
    // shows: a shown window would take every panel's resize and every unused
    // order button's hiding as a repaint of its own, and answer nothing meanwhile.
    Form_Resize();
    form_.IRC_Quorvel.setVisible(true);
}

void MainWindow::Form_Load() {
    board_.initialise();
    services_.eventLoop.processPendingEvents();
    // An end asked for in there (or in the loader's pass below) ends start-up
    // too: nothing more is shown, applied or announced.
    if (services_.eventLoop.ending()) return;
    targets_.WindowDataGet_MouseDown(MouseEvent{controls::kLeftButton, 0, 0, 0});
    services_.stacking.setKeepAbove(form_.IRC_Quorvel, true);
    form_.IRC_Quorvel.setCaption(caption());
    settings_.LoadSettings();
    if (services_.eventLoop.ending()) return;
    targets_.chk_uo_Click();
    link_.openAndAnnounce();
    if (!loader_.startUpLoad()) return;
    mn_button_Click(0);
}

void MainWindow::Form_Unload(bool& /*cancel*/) {
    settings_.SaveSettings();
    services_.eventLoop.quit();
}

void MainWindow::Form_Resize() {
    controls::Form& window = form_.IRC_Quorvel;
    if (window.windowState() == controls::WindowState::Minimised) return;
    // Each size is read afresh: a correction below runs this handler again, nested,
    // with the corrected size.
    if (window.height() <= 2000) window.setHeight(2000);
    if (window.width() <= 1000) window.setWidth(1000);
    for (int i = 0; i <= 2; ++i)
        form_.Frame[i].setWidth(window.width() - MainForm::kFrameWidth);
    for (int i = 0; i <= 2; ++i)
        form_.Frame[i].setHeight(window.height() - MainForm::kFrameHeight);
    board_.ButtonArrange();
}

void MainWindow::mn_button_Click(int index) {
    form_.Frame[index].bringToFront();
    if (index == 0) {
        form_.mn_button[0].setEnabled(false);
        form_.mn_button[2].setEnabled(true);
    } else if (index == 2) {
        form_.mn_button[2].setEnabled(false);
        form_.mn_button[0].setEnabled(true);
    }
}

void MainWindow::mn_read_Click() {
    loader_.Command1_Click();
}

void MainWindow::mn_siki_Click() {
    if (form_.chk_sikikan.value() == 1) {
        form_.chk_sikikan.setValue(0);
        form_.mn_siki.setCaption("OFF");
    } else {
        form_.chk_sikikan.setValue(1);
        form_.mn_siki.setCaption("ON");
    }
}

void MainWindow::chk_sikikan_Click() {
    form_.mn_siki.setCaption(form_.chk_sikikan.value() == 1 ? "ON" : "OFF");
}

void MainWindow::chk_AllwaysonTop_Click() {
    services_.stacking.setKeepAbove(form_.IRC_Quorvel, form_.chk_AllwaysonTop.value() == 1);
}

void MainWindow::Command2_Click() {
    nick_.ensureCreated();
    controls::Form& nickWindow = nickForm_.frm_nick;
    nickWindow.setTop(0);
    nickWindow.setLeft(0);
}

bool MainWindow::pressOrderButton(int number, bool right) {
    if (number < 1 || number - 1 > board_.lastShownIndex()) return false;
    press_.tavren_MouseDown(
        number - 1, controls::MouseEvent{right ? controls::kRightButton : controls::kLeftButton});
    return true;
}

} // namespace tavren::app
