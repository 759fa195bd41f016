#pragma once

#include "delivery/irc_link.h"
#include "nick/nick_form.h"
#include "platform/controls/controls.h"

namespace tavren::nick {

// The nick changer: five prefix buttons that ask the IRC client to change the
// user's nick to prefix + base nick.
class NickWindow {
public:
    // chk_rename and servername are the main window's.
    NickWindow(NickForm& form, controls::CheckBox& chk_rename, controls::TextField& servername,
               delivery::IrcLink& link);

    // Creates the window hidden on first use; later calls do nothing.
    void ensureCreated();
    // Shows the window for chk_rename state 1, hides it otherwise.
    void chk_rename_Click();
    // Closing hides the window and clears chk_rename.
    void Form_Unload(bool& cancel);
    // One handler per button, as the buttons are named.
    void Command3_MouseDown(const controls::MouseEvent& e); // "WS"
    void Command4_MouseDown(const controls::MouseEvent& e); // "D"
    void Command5_MouseDown(const controls::MouseEvent& e); // "F"
    void Command6_MouseDown(const controls::MouseEvent& e); // "HOQ"
    void Command7_MouseDown(const controls::MouseEvent& e); // "A"

    NickForm& form() { return form_; }

private:
    void changeNick(const char* prefix);

    NickForm& form_;
    controls::CheckBox& chk_rename_;
    controls::TextField& servername_;
    delivery::IrcLink& link_;
};

} // namespace tavren::nick
