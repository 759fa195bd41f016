#pragma once

#include "platform/controls/controls.h"
#include "platform/services/diagnostics.h"
#include "platform/services/event_loop.h"
#include "platform/services/keyboard.h"
#include "platform/services/window_manager.h"

#include <optional>

namespace tavren::delivery {

// The one path by which text reaches another program: bring the picked window to
// the front (bounded wait), type the send box's text and Enter, and optionally
// bring the return window back.
//
// Once the program is ending nothing leaves it: a press whose wait sees the end
// (the main window closed from inside the wait) stops there.
//
// A list with nothing picked names no window: its waits fail every check and
// run out of retries, so nothing is typed (or, for the return window, nothing is
// brought back). The handle list's edit text, which discovery points at the last
// game client window, is deliberately never used in place of a pick: it would
// send keystrokes into a window the user never chose.
class SendPipeline {
public:
    struct Controls {
        controls::ComboBox& combo_UO2;  // send destination pick
        controls::ComboBox& combo_UO;   // return window pick
        controls::ComboBox& Combo_hWnd; // handles, parallel to the title lists
        controls::CheckBox& chk_uo;     // return switch
        controls::TextField& sendtext;  // the text to deliver
        controls::Button& btn_Send;     // never shown; its press is the pipeline
    };

    // Connects btn_Send's press and sendtext's key-down to the handlers below.
    SendPipeline(Controls controls, services::WindowManager& windows, services::EventLoop& events,
                 services::Keyboard& keyboard,
                 services::Diagnostics& diagnostics = services::NoDiagnostics::instance());

    // One press: the whole pipeline. Tells the user nothing; what went wrong
    // goes to the diagnostics.
    void btn_Send_MouseDown(const controls::MouseEvent& e);
    // Enter (13) in the send box sends it; other keys only edit it.
    void sendtext_KeyDown(int keyCode, int shift);

    SendPipeline(const SendPipeline&) = delete;
    SendPipeline& operator=(const SendPipeline&) = delete;

private:
    // Asks for the picked window to come to the front until it is there, or
    // until the press's shared retry budget is spent. The window found in front.
    // `allowance` is the press's too: the window manager pushes past a refusal
    // once per press, not once per request.
    std::optional<services::WindowHandle> waitUntilInFront(const controls::ComboBox& list,
                                                           int& retries,
                                                           services::FrontAllowance& allowance);

    Controls c_;
    services::WindowManager& windows_;
    services::EventLoop& events_;
    services::Keyboard& keyboard_;
    services::Diagnostics& diagnostics_;
};

} // namespace tavren::delivery
