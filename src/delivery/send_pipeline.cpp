#include "send_pipeline.h"

#include "send_keys.h"

#include <charconv>
#include <optional>
#include <string>

namespace tavren::delivery {

namespace {

// One press allows this many front checks to fail before it gives up; with
// the check after the last pass that makes 21 passes of event processing, shared
// by the destination's wait and the return window's.
constexpr int kRetryLimit = 20;

constexpr int kEnterKeyCode = 13;

// The handle recorded for the picked entry. Nothing when nothing is picked or
// the entry is not a window handle: the edit text is never used instead, since
// it may name a window the user did not pick.
std::optional<services::WindowHandle> pickedHandle(const controls::ComboBox& list,
                                                   const controls::ComboBox& handles) {
    const auto text = handles.item(list.listIndex());
    if (!text) return std::nullopt;
    services::WindowHandle handle = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, handle);
    if (error != std::errc() || stop != end || handle == 0) return std::nullopt;
    return handle;
}

} // namespace

SendPipeline::SendPipeline(Controls controls, services::WindowManager& windows,
                           services::EventLoop& events, services::Keyboard& keyboard,
                           services::Diagnostics& diagnostics)
    : c_(controls), windows_(windows), events_(events), keyboard_(keyboard),
      diagnostics_(diagnostics) {
    c_.btn_Send.mouseDown.connect([this](const controls::MouseEvent& e) { btn_Send_MouseDown(e); });
    c_.sendtext.keyDown.connect(
        [this](int keyCode, int shift) { sendtext_KeyDown(keyCode, shift); });
}

void SendPipeline::btn_Send_MouseDown(const controls::MouseEvent&) {
    if (events_.ending()) return;
    // Both front waits of the press draw on these.
    int retries = 0;
    services::FrontAllowance allowance;
    const auto destination = waitUntilInFront(c_.combo_UO2, retries, allowance);
    if (!destination) return;

    // Read only now: a press that ran nested inside the wait may have written
    // the box, and the box is what the user sees being sent.
    const std::string text = c_.sendtext.text();
    const auto keys = parseSendKeys(text + "\r\n");
    if (!keys) {
        diagnostics_.report({services::IgnoredFailure::OrderNotTyped,
                             "not valid key syntax, nothing typed: " + text});
    } else if (const auto typed = keyboard_.type(*destination, *keys);
               typed != services::TypeResult::Typed) {
        diagnostics_.report({services::IgnoredFailure::OrderNotTyped,
                             typed == services::TypeResult::Interrupted
                                 ? "another window took the focus, typing stopped: " + text
                                 : "typing failed, the order did not arrive whole: " + text});
    }

    if (c_.chk_uo.value() == 1) waitUntilInFront(c_.combo_UO, retries, allowance);
}

void SendPipeline::sendtext_KeyDown(int keyCode, int) {
    if (keyCode == kEnterKeyCode) btn_Send_MouseDown(controls::MouseEvent{});
}

std::optional<services::WindowHandle>
SendPipeline::waitUntilInFront(const controls::ComboBox& list, int& retries,
                               services::FrontAllowance& allowance) {
    // The pick is read afresh at every step, so a pick the user changes while
    // we wait takes effect at once.
    auto ask = [&] {
        const auto handle = pickedHandle(list, c_.Combo_hWnd);
        if (handle) windows_.bringToFront(*handle, allowance);
    };
    ask();
    for (;;) {
        const auto handle = pickedHandle(list, c_.Combo_hWnd);
        if (handle && *handle == windows_.foregroundWindow()) return handle;
        ask();
        if (retries > kRetryLimit) {
            const char* which = &list == &c_.combo_UO2 ? "send destination" : "return window";
            diagnostics_.report(
                {services::IgnoredFailure::WindowNotInFront,
                 handle ? std::string(which) + " " + std::to_string(*handle) +
                              " still not in front when the press's retries ran out; in front: " +
                              std::to_string(windows_.foregroundWindow())
                        : std::string("no ") + which + " picked"});
            return std::nullopt;
        }
        events_.processPendingEvents();
        // The program may have been ended in there (its window closed, a
        // termination signal): a press that outlives the end types nothing and
        // brings no window forward.
        if (events_.ending()) return std::nullopt;
        ++retries;
    }
}

} // namespace tavren::delivery
