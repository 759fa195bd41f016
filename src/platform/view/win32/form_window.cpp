#include "form_window.h"

#include "form_frame.h"

#include "platform/backend/win32/wide_text.h"

#include <algorithm>
#include <utility>

namespace tavren::view::win32 {
namespace {

using controls::Property;

constexpr UINT kFirstMenuId = 1000;
constexpr UINT_PTR kFirstTimerId = 1;
// Posted to restack the containers whose children moved, showed or hid.
constexpr UINT kRestackMessage = WM_APP + 1;
constexpr DWORD kFormStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

const wchar_t* formWindowClass(WNDPROC proc) {
    static const wchar_t* const name = [proc] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"TavrenForm";
        ::RegisterClassExW(&wc);
        return L"TavrenForm";
    }();
    return name;
}

} // namespace

FormWindow::FormWindow(controls::Form& form, ViewContext context)
    : ControlView(form), form_(form), context_(context),
      alive_(std::make_shared<FormWindow*>(this)) {
    const bool hasMenu = std::any_of(form.children().begin(), form.children().end(),
                                     [](auto* c) { return c->kind() == controls::Kind::MenuItem; });
    if (hasMenu) menu_ = ::CreateMenu();
    // What the new window reports while it is built (its default place, the
    // menu bar taking its height) is not the user's: the form keeps its own.
    const controls::EchoGuard::Hold building(echo_);
    window_ = ::CreateWindowExW(0, formWindowClass(&FormWindow::windowProc),
                                backend::win32::utf8ToWide(form.caption()).c_str(), kFormStyle,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                menu_, ::GetModuleHandleW(nullptr), this);
    context_.registry->add(form, window_);
    buildChildren(form, window_);
    rebuildMenu();
}

FormWindow::~FormWindow() {
    // What the window reports while it goes (hidden, resized, deactivated) is
    // not the user's, and the form may be gone already.
    closing_ = true;
    for (std::size_t slot = 0; slot < timers_.size(); ++slot)
        ::KillTimer(window_, kFirstTimerId + slot);
    // Destroys the menu attached to it and every child window, which refer to
    // the child objects until they are gone.
    ::DestroyWindow(window_);
    for (const auto& child : children_)
        context_.registry->remove(child->control());
    for (auto* item : menuItems_)
        context_.registry->remove(*item);
    for (auto* timer : timers_)
        context_.registry->remove(*timer);
    context_.registry->remove(form_);
}

void FormWindow::buildChildren(controls::Control& container, HWND parent) {
    for (controls::Control* control : container.children()) {
        if (control->kind() == controls::Kind::MenuItem) {
            // Only a form's own menu items make its menu bar.
            if (&container == &form_) addMenuItem(static_cast<controls::MenuItem&>(*control));
            continue;
        }
        if (control->kind() == controls::Kind::Timer) {
            addTimer(static_cast<controls::Timer&>(*control));
            continue;
        }
        std::unique_ptr<ChildView> child = createChildView(*control, parent, context_);
        if (!child) continue;
        context_.registry->add(*control, child->hwnd());
        if (control->kind() == controls::Kind::Frame) buildChildren(*control, child->hwnd());
        child->showAll();
        child->follow();
        std::weak_ptr<FormWindow*> alive = alive_;
        control->changed.connect([alive, &container](Property p) {
            if (p != Property::Geometry && p != Property::Visible) return;
            if (auto self = alive.lock()) (*self)->restackLater(container);
        });
        children_.push_back(std::move(child));
    }
    context_.registry->restackChildren(container, context_.scale);
}

void FormWindow::restackLater(const controls::Control& container) {
    // The order buttons move and show one by one when the board is laid out,
    // overlapping on the way: the stacking follows once they are all placed.
    if (std::find(pendingRestacks_.begin(), pendingRestacks_.end(), &container) ==
        pendingRestacks_.end())
        pendingRestacks_.push_back(&container);
    if (!restackPosted_) restackPosted_ = ::PostMessageW(window_, kRestackMessage, 0, 0) != FALSE;
}

void FormWindow::restackPending() {
    restackPosted_ = false;
    const std::vector<const controls::Control*> containers = std::move(pendingRestacks_);
    pendingRestacks_.clear();
    for (const controls::Control* container : containers)
        context_.registry->restackChildren(*container, context_.scale);
}

void FormWindow::setIcons(HICON big, HICON small) {
    ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void FormWindow::addMenuItem(controls::MenuItem& item) {
    menuItems_.push_back(&item);
    context_.registry->add(item, window_);
    std::weak_ptr<FormWindow*> alive = alive_;
    item.changed.connect([alive](Property p) {
        auto self = alive.lock();
        if (self && (p == Property::Caption || p == Property::Visible || p == Property::Enabled))
            (*self)->rebuildMenu();
    });
}

void FormWindow::rebuildMenu() {
    if (!menu_) return;
    while (::GetMenuItemCount(menu_) > 0)
        ::DeleteMenu(menu_, 0, MF_BYPOSITION);
    // Hidden items are not on the bar at all, rather than greyed.
    for (std::size_t slot = 0; slot < menuItems_.size(); ++slot) {
        const controls::MenuItem& item = *menuItems_[slot];
        if (!item.visible()) continue;
        ::AppendMenuW(menu_, MF_STRING | (item.enabled() ? MF_ENABLED : MF_GRAYED),
                      kFirstMenuId + slot, backend::win32::utf8ToWide(item.caption()).c_str());
    }
    ::DrawMenuBar(window_);
}

void FormWindow::addTimer(controls::Timer& timer) {
    const std::size_t slot = timers_.size();
    timers_.push_back(&timer);
    context_.registry->add(timer, window_);
    std::weak_ptr<FormWindow*> alive = alive_;
    timer.changed.connect([alive, slot](Property p) {
        auto self = alive.lock();
        if (self && (p == Property::Value || p == Property::Enabled)) (*self)->applyTimer(slot);
    });
    applyTimer(slot);
}

void FormWindow::applyTimer(std::size_t slot) {
    const controls::Timer& timer = *timers_[slot];
    // Setting the interval starts the count again, as it does on a running timer.
    if (timer.enabled() && timer.interval() > 0)
        ::SetTimer(window_, kFirstTimerId + slot, static_cast<UINT>(timer.interval()), nullptr);
    else
        ::KillTimer(window_, kFirstTimerId + slot);
}

void FormWindow::apply(Property property) {
    switch (property) {
    case Property::Caption:
        ::SetWindowTextW(window_, backend::win32::utf8ToWide(form_.caption()).c_str());
        break;
    case Property::Enabled:
        ::EnableWindow(window_, form_.enabled());
        break;
    case Property::Geometry:
        applyGeometry();
        break;
    case Property::Visible:
        applyVisible();
        break;
    case Property::State:
        applyWindowState();
        break;
    case Property::ZOrder:
        context_.registry->restackChildren(form_, context_.scale);
        break;
    default:
        break;
    }
}

void FormWindow::applyGeometry() {
    // The window has it already: what it reported of itself coming back, most
    // often. Asked for again, a maximised window would take its own size as the
    // size to restore to.
    if (showsGeometry()) return;
    const controls::Rect& outer = form_.geometry();
    const POINT place{context_.scale.toPixelsX(outer.left), context_.scale.toPixelsY(outer.top)};
    const SIZE client = clientPixels(outer, context_.scale);
    // A form that was never given a size keeps the system's default.
    const bool sized = outer.width > 0 && outer.height > 0;
    if (::IsIconic(window_) || ::IsZoomed(window_)) {
        // A minimised or maximised window takes the form's rectangle as the
        // place it is restored to.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        ::GetWindowPlacement(window_, &placement);
        RECT& normal = placement.rcNormalPosition;
        const SIZE size = sized ? windowSizeAround(window_, client)
                                : SIZE{normal.right - normal.left, normal.bottom - normal.top};
        normal = RECT{place.x, place.y, place.x + size.cx, place.y + size.cy};
        ::SetWindowPlacement(window_, &placement);
        return;
    }
    const SIZE size = sized ? windowSizeAround(window_, client) : SIZE{};
    ::SetWindowPos(window_, nullptr, place.x, place.y, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE | (sized ? 0 : SWP_NOSIZE));
    if (!sized) return;
    // A menu bar too long for the window's width wraps onto more lines, which
    // the frame's measure leaves out: the window grows by what they take.
    RECT actual{};
    ::GetClientRect(window_, &actual);
    if (actual.bottom != client.cy)
        ::SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy + client.cy - actual.bottom,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

bool FormWindow::showsGeometry() const {
    RECT window{};
    RECT client{};
    ::GetWindowRect(window_, &window);
    ::GetClientRect(window_, &client);
    const controls::Rect& outer = form_.geometry();
    const SIZE expected = clientPixels(outer, context_.scale);
    return window.left == context_.scale.toPixelsX(outer.left) &&
           window.top == context_.scale.toPixelsY(outer.top) && client.right == expected.cx &&
           client.bottom == expected.cy;
}

void FormWindow::applyVisible() {
    if (!form_.visible()) {
        ::ShowWindow(window_, SW_HIDE);
        return;
    }
    switch (form_.windowState()) {
    case controls::WindowState::Minimised:
        ::ShowWindow(window_, SW_SHOWMINIMIZED);
        break;
    case controls::WindowState::Maximised:
        ::ShowWindow(window_, SW_SHOWMAXIMIZED);
        break;
    case controls::WindowState::Normal:
        if (!::IsWindowVisible(window_)) ::ShowWindow(window_, SW_SHOW);
        break;
    }
}

void FormWindow::applyWindowState() {
    if (!form_.visible()) return; // showing takes the state
    switch (form_.windowState()) {
    case controls::WindowState::Minimised:
        if (!::IsIconic(window_)) ::ShowWindow(window_, SW_MINIMIZE);
        break;
    case controls::WindowState::Maximised:
        if (!::IsZoomed(window_)) ::ShowWindow(window_, SW_MAXIMIZE);
        break;
    case controls::WindowState::Normal:
        if (::IsIconic(window_) || ::IsZoomed(window_)) ::ShowWindow(window_, SW_RESTORE);
        break;
    }
}

void FormWindow::reportGeometry() {
    // A minimised window keeps its size: what counts is the size it comes
    // back with. A maximised one has the size the user sees, and the form
    // (its resize handling, its saved size) takes it as any other.
    if (isEcho() || ::IsIconic(window_)) return;
    RECT window{};
    RECT client{};
    ::GetWindowRect(window_, &window);
    ::GetClientRect(window_, &client);
    const controls::Rect& shown = form_.geometry();
    const SIZE expected = clientPixels(shown, context_.scale);
    // Only what changed in pixels is taken over, so that the twips of the rest
    // do not drift through rounding.
    controls::Rect outer = shown;
    if (window.left != context_.scale.toPixelsX(shown.left))
        outer.left = context_.scale.toTwipsX(window.left);
    if (window.top != context_.scale.toPixelsY(shown.top))
        outer.top = context_.scale.toTwipsY(window.top);
    if (client.right != expected.cx)
        outer.width = controls::FormFrame::outerWidth(client.right, context_.scale);
    if (client.bottom != expected.cy)
        outer.height = controls::FormFrame::outerHeight(client.bottom, context_.scale);
    if (outer == shown) return;
    form_.setGeometry(outer);
}

void FormWindow::reportWindowState(WPARAM sizeType) {
    if (isEcho()) return;
    if (sizeType == SIZE_MINIMIZED) form_.setWindowState(controls::WindowState::Minimised);
    if (sizeType == SIZE_MAXIMIZED) form_.setWindowState(controls::WindowState::Maximised);
    if (sizeType == SIZE_RESTORED) form_.setWindowState(controls::WindowState::Normal);
}

LRESULT CALLBACK FormWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FormWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || self->window_ != window) {
        // Messages during creation, before the handle is known.
        if (self && message != WM_NCDESTROY && !self->window_) {
            LRESULT result = 0;
            if (handleChildMessage(message, wParam, lParam, result)) return result;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT FormWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (closing_) return ::DefWindowProcW(window_, message, wParam, lParam);
    LRESULT result = 0;
    switch (message) {
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == 0) {
            const UINT id = LOWORD(wParam);
            if (id >= kFirstMenuId && id - kFirstMenuId < menuItems_.size()) {
                menuItems_[id - kFirstMenuId]->click();
                return 0;
            }
        }
        break;
    case WM_TIMER:
        if (wParam >= kFirstTimerId && wParam - kFirstTimerId < timers_.size()) {
            timers_[wParam - kFirstTimerId]->tick();
            return 0;
        }
        break;
    case WM_CLOSE:
        // The form decides; the window is only hidden, never destroyed here.
        if (form_.requestClose()) form_.setVisible(false);
        return 0;
    case WM_SIZE:
        reportWindowState(wParam);
        break;
    case WM_WINDOWPOSCHANGED:
        reportGeometry();
        break;
    case kRestackMessage:
        restackPending();
        return 0;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    if (handleChildMessage(message, wParam, lParam, result)) return result;
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

} // namespace tavren::view::win32
