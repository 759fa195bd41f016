#include "nick_window.h"

#include <string>

namespace tavren::nick {

namespace {
// Only the space character counts: a tab or an ideographic space at the end of
// the nick is part of it and travels on.
std::string withoutTrailingSpaces(const std::string& text) {
    const auto end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}
} // namespace

NickWindow::NickWindow(NickForm& form, controls::CheckBox& chk_rename,
                       controls::TextField& servername, delivery::IrcLink& link)
    : form_(form), chk_rename_(chk_rename), servername_(servername), link_(link) {
    chk_rename_.clicked.connect([this] { chk_rename_Click(); });
    form_.frm_nick.unloading.connect([this](bool& cancel) { Form_Unload(cancel); });
    // A press of any mouse button changes the nick, not just a completed click.
    form_.Command3.mouseDown.connect([this](const auto& e) { Command3_MouseDown(e); });
    form_.Command4.mouseDown.connect([this](const auto& e) { Command4_MouseDown(e); });
    form_.Command5.mouseDown.connect([this](const auto& e) { Command5_MouseDown(e); });
    form_.Command6.mouseDown.connect([this](const auto& e) { Command6_MouseDown(e); });
    form_.Command7.mouseDown.connect([this](const auto& e) { Command7_MouseDown(e); });
    // Command1 "通常" and Command2 "WM" stay inert: no nick is defined for them,
    // and a guessed command would rename the user on the IRC server without
    // being asked. They are left unconnected.
}

void NickWindow::ensureCreated() {
    form_.frm_nick.load();
}

void NickWindow::chk_rename_Click() {
    // Hiding also creates the window, so that its position and nick exist for the
    // settings whichever way the box was set first.
    ensureCreated();
    form_.frm_nick.setVisible(chk_rename_.value() == 1);
}

void NickWindow::Form_Unload(bool& cancel) {
    // The window survives the close with its nick and position; only the box
    // learns that it is no longer wanted (its click then hides it once more).
    cancel = true;
    form_.frm_nick.setVisible(false);
    chk_rename_.setValue(0);
}

void NickWindow::Command3_MouseDown(const controls::MouseEvent&) {
    changeNick("WS_");
}
void NickWindow::Command4_MouseDown(const controls::MouseEvent&) {
    changeNick("D_");
}
void NickWindow::Command5_MouseDown(const controls::MouseEvent&) {
    changeNick("F_");
}
void NickWindow::Command6_MouseDown(const controls::MouseEvent&) {
    changeNick("HOQ_");
}
void NickWindow::Command7_MouseDown(const controls::MouseEvent&) {
    changeNick("A_");
}

void NickWindow::changeNick(const char* prefix) {
    // Sent on the conversation as the main window last opened it; a failure (no
    // IRC client) is ignored like every other on this link.
    link_.LinkExecute(servername_.text() + "," + "/nick " + prefix +
                      withoutTrailingSpaces(form_.txt_nick.text()) + "\r\n");
}

} // namespace tavren::nick
