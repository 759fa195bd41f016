#include "win32_view.h"

#include "form_window.h"
#include "system_font.h"
#include "view_context.h"

#include "platform/backend/win32/handles.h"

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
    SystemFont font;
    WindowRegistry registry;
    // Declared before the windows, which show them until they are destroyed.
    OwnedIcon bigIcon;
    OwnedIcon smallIcon;
    std::vector<std::pair<controls::Form*, std::unique_ptr<FormWindow>>> forms;

    explicit State(TwipsScale s) : scale(s) {}

    std::unique_ptr<FormWindow>* entryFor(const controls::Form& form) {
        for (auto& [f, window] : forms) {
            if (f == &form) return &window;
        }
        return nullptr;
    }

    FormWindow* build(controls::Form& form) {
        std::unique_ptr<FormWindow>* entry = entryFor(form);
        if (!entry) return nullptr;
        if (*entry) return entry->get();
        auto window = std::make_unique<FormWindow>(form, ViewContext{scale, &font, &registry});
        FormWindow* built = window.get();
        *entry = std::move(window);
        if (bigIcon.get()) built->setIcons(bigIcon.get(), smallIcon.get());
        built->applyAll();
        return built;
    }

    ~State() {
        // The windows go before the font and the registry they use.
        forms.clear();
    }
};

Win32View::Win32View() : Win32View(systemTwipsScale()) {}

Win32View::Win32View(TwipsScale scale) : state_(std::make_shared<State>(scale)) {
    // Subclassing needs the common controls loaded.
    INITCOMMONCONTROLSEX init{sizeof init, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&init);
}

Win32View::~Win32View() = default;

void Win32View::addForm(controls::Form& form) {
    if (state_->entryFor(form)) return;
    state_->forms.emplace_back(&form, nullptr);
    std::weak_ptr<State> weak = state_;
    form.changed.connect([weak, &form](controls::Property p) {
        auto state = weak.lock();
        if (!state) return;
        std::unique_ptr<FormWindow>* entry = state->entryFor(form);
        if (!entry) return;
        if (*entry) {
            (*entry)->apply(p);
            return;
        }
        // Windows are built lazily: a form that is never loaded nor shown costs nothing.
        if (form.isLoaded() || form.visible()) state->build(form);
    });
    if (form.isLoaded() || form.visible()) state_->build(form);
}

void Win32View::setProgramIcon(HMODULE module, int resourceId) {
    // Sized for the caption and the taskbar at the system's DPI, rather than
    // one size the system scales down.
    OwnedIcon big(module, resourceId, SM_CXICON, SM_CYICON);
    OwnedIcon small(module, resourceId, SM_CXSMICON, SM_CYSMICON);
    for (auto& [form, window] : state_->forms)
        if (window) window->setIcons(big.get(), small.get());
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
    for (const auto& [form, window] : state_->forms) {
        if (window && window->hwnd() == root) return ::IsDialogMessageW(root, &msg) != FALSE;
    }
    return false;
}

services::WindowHandle Win32View::nativeWindowId(const controls::Form& form) {
    for (auto& [known, window] : state_->forms) {
        if (known == &form) return backend::win32::fromHwnd(state_->build(*known)->hwnd());
    }
    return 0;
}

HWND Win32View::windowFor(const controls::Control& control) const {
    return state_->registry.find(control);
}

const TwipsScale& Win32View::scale() const {
    return state_->scale;
}

} // namespace tavren::view::win32
