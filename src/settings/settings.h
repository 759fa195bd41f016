#pragma once

#include "board/order_board.h"
#include "nick/nick_window.h"
#include "platform/controls/controls.h"
#include "platform/services/diagnostics.h"
#include "platform/services/event_loop.h"
#include "platform/services/profile_store.h"
#include "platform/services/screens.h"

namespace tavren::settings {

// The settings file: options, board shape and gap, window positions and the nick
// text, read once at start-up and written once at exit.
class Settings {
public:
    struct Controls {
        controls::Form& IRC_Quorvel;
        controls::CheckBox& chk_enter;
        controls::CheckBox& chk_AllwaysonTop;
        controls::CheckBox& chk_syuryo;
        controls::CheckBox& chk_uo;
        controls::CheckBox& chk_rename;
        const controls::ControlArray<controls::OptionButton>& OpT;
        const controls::ControlArray<controls::OptionButton>& OpY;
        controls::ComboBox& cmb_Bgap;
    };

    Settings(Controls controls, board::OrderBoard& board, nick::NickWindow& nick,
             services::ProfileStore& profile, services::EventLoop& events,
             services::Screens& screens,
             services::Diagnostics& diagnostics = services::NoDiagnostics::instance());

    void LoadSettings();
    void SaveSettings();

private:
    Controls c_;
    board::OrderBoard& board_;
    nick::NickWindow& nick_;
    services::ProfileStore& profile_;
    services::EventLoop& events_;
    services::Screens& screens_;
    services::Diagnostics& diagnostics_;
};

} // namespace tavren::settings
