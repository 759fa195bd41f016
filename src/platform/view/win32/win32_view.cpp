#include "win32_view.h"

#include "form_font.h"
#include "form_window.h"
#include "view_context.h"

#include "platform/backend/win32/handles.h"
#include "platform/controls/form_windows.h"

#include <commctrl.h>

#include <utility>
#include <vector>

namespace tavren::view::win32 {

namespace {

// An icon loaded from a resource, destroyed with its owner.
class OwnedIcon {
public:
    OwnedIcon() = default;
    OwnedIcon(HMODULE module, int resourceId, int systemMetricX, int systemMetricY)
        : icon_(static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                                ::GetSystemMetrics(systemMetricX),
                                                ::GetSystemMetrics(systemMetricY), 0))) {}
    ~OwnedIcon() {
        if (icon_) ::DestroyIcon(icon_);
    }
    OwnedIcon(OwnedIcon&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}
    OwnedIcon& operator=(OwnedIcon&& other) noexcept {
        std::swap(icon_, other.icon_);
        return *this;
    }
    HICON get() const { return icon_; }

private:
    HICON icon_ = nullptr;
};

} // namespace

struct Win32View::State {
    TwipsScale scale;
    FormFont font;
    WindowRegistry registry;
    // Declared before the windows, which show them until they are destroyed.
    OwnedIcon bigIcon;
    OwnedIcon smallIcon;
    // The windows go first, before the font and the registry they use.
    controls::FormWindows<FormWindow> forms{[this](controls::Form& form) {
        auto window = std::make_unique<FormWindow>(form, ViewContext{scale, &font, &registry});
        if (bigIcon.get()) window->setIcons(bigIcon.get(), smallIcon.get());
        return window;
    }};

    explicit State(TwipsScale s) : scale(s) {}
};

Win32View::Win32View() : Win32View(systemTwipsScale()) {}

Win32View::Win32View(TwipsScale scale) : state_(std::make_unique<State>(scale)) {
    // Subclassing needs the common controls loaded.
    INITCOMMONCONTROLSEX init{sizeof init, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&init);
}

Win32View::~Win32View() = default;

void Win32View::addForm(controls::Form& form) {
    state_->forms.add(form);
}

void Win32View::setProgramIcon(HMODULE module, int resourceId) {
    // Sized for the caption and the taskbar at the system's DPI, rather than
    // one size the system scales down.
    OwnedIcon big(module, resourceId, SM_CXICON, SM_CYICON);
    OwnedIcon small(module, resourceId, SM_CXSMICON, SM_CYSMICON);
    state_->forms.forEachWindow(
        [&](FormWindow& window) { window.setIcons(big.get(), small.get()); });
    // The icons shown until now go when this returns, no longer shown.
    state_->bigIcon = std::move(big);
    state_->smallIcon = std::move(small);
}

bool Win32View::navigate(MSG& msg) const {
    // Key presses only: the characters they make are not mnemonics here. An
    // order's caption may hold "&", and a letter typed must never press its
    // button (nor Alt+Space, the system menu's key, a caption's "& ").
    if (msg.message != WM_KEYDOWN || !msg.hwnd) return false;
    HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
    bool ours = false;
    state_->forms.forEachWindow([&](const FormWindow& window) { ours |= window.hwnd() == root; });
    return ours && ::IsDialogMessageW(root, &msg) != FALSE;
}

services::WindowHandle Win32View::nativeWindowId(const controls::Form& form) {
    FormWindow* window = state_->forms.build(form);
    return window ? backend::win32::fromHwnd(window->hwnd()) : 0;
}

HWND Win32View::windowFor(const controls::Control& control) const {
    return state_->registry.find(control);
}

const TwipsScale& Win32View::scale() const {
    return state_->scale;
}

} // namespace tavren::view::win32
