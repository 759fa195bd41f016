#pragma once

#include "delivery/send_pipeline.h"
#include "platform/controls/controls.h"
#include "platform/services/keyboard.h"

namespace tavren::board {

// What a press of an order button, or a keypad digit while keyboard monitoring is
// on, does: put the caption into the send box and run the send pipeline.
class OrderPress {
public:
    struct Controls {
        const controls::ControlArray<controls::Button>& tavren;
        controls::TextField& sendtext;
        controls::CheckBox& chk_Key; // keyboard monitoring
        controls::Timer& Timer1;     // polls the keypad while monitoring is on
    };

    // Connects the buttons', the box's and the timer's events to the handlers below.
    OrderPress(Controls controls, delivery::SendPipeline& pipeline, services::KeyMonitor& keys);

    void tavren_MouseDown(int index, const controls::MouseEvent& e);
    void tavren_MouseUp(int index, const controls::MouseEvent& e);
    void chk_Key_Click();
    void Timer1_Timer();

    OrderPress(const OrderPress&) = delete;
    OrderPress& operator=(const OrderPress&) = delete;

private:
    void forgetEarlierTaps();

    Controls c_;
    delivery::SendPipeline& pipeline_;
    services::KeyMonitor& keys_;
};

} // namespace tavren::board
