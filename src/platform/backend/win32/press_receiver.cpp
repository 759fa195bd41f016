#include "press_receiver.h"

#include "window_class.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace tavren::backend::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"TavrenPressReceiver";
// WM_COPYDATA's dwData: what the data is ("TVRP"), so that no other sender's
// data is taken for a press.
constexpr ULONG_PTR kPressData = 0x54565250;

// The payload, the same in both programs of one version.
struct PressRequest {
    std::uint32_t number;
    std::uint32_t right;
};

enum : LRESULT { kRefused = 0, kPressed = 1, kNotShown = 2 };

// A press waits for its window to come to the front and for the window to
// read the keys: seconds at the most, with a window that never answers.
constexpr UINT kPressTimeoutMs = 60000;

} // namespace

PressReceiver::PressReceiver(Press press) : press_(std::move(press)) {
    registerPlainWindowClass(kWindowClass, procedure);
    window_ = ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                ::GetModuleHandleW(nullptr), this);
    if (!window_) throw std::runtime_error("cannot create the window that takes presses");
    // A tavren.exe run as administrator still takes presses from a prompt
    // that is not (User Interface Privilege Isolation drops them otherwise).
    ::ChangeWindowMessageFilterEx(window_, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
}

PressReceiver::~PressReceiver() {
    ::DestroyWindow(window_);
}

LRESULT CALLBACK PressReceiver::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == WM_COPYDATA) {
        auto* self = reinterpret_cast<PressReceiver*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(l);
        if (self == nullptr || data->dwData != kPressData || data->cbData != sizeof(PressRequest))
            return kRefused;
        PressRequest request;
        std::memcpy(&request, data->lpData, sizeof request);
        if (request.number < 1 || request.number > 81) return kNotShown;
        return self->press_(static_cast<int>(request.number), request.right != 0) ? kPressed
                                                                                  : kNotShown;
    }
    return ::DefWindowProcW(window, message, w, l);
}

PressOutcome askRunningTavrenToPress(int number, bool right) {
    const HWND receiver = ::FindWindowExW(HWND_MESSAGE, nullptr, kWindowClass, nullptr);
    if (receiver == nullptr)
        return {false, "no Tavren is running on this desktop: nothing was pressed"};
    PressRequest request{static_cast<std::uint32_t>(number), right ? 1u : 0u};
    COPYDATASTRUCT data{kPressData, sizeof request, &request};
    DWORD_PTR answer = kRefused;
    if (!::SendMessageTimeoutW(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG, kPressTimeoutMs, &answer))
        return {false, "the running Tavren did not answer: nothing was pressed"};
    if (answer == kPressed) return {true, {}};
    if (answer == kNotShown)
        return {false, "button " + std::to_string(number) +
                           " is not on the board of the running Tavren: nothing was pressed"};
    return {false, "the running Tavren did not take the press"};
}

} // namespace tavren::backend::win32
