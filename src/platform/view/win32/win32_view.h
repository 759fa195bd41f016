#pragma once

#include "twips_scale.h"

#include "platform/controls/controls.h"
#include "platform/services/window_manager.h"

#include <memory>

#include <windows.h>

namespace tavren::view::win32 {

// Shows forms of toolkit-neutral controls as native windows: one window per
// control, kept in step with it, with the user's input turned into the controls'
// events. The view holds no behaviour.
//
// Usage: make the process DPI-aware first (the view converts twips with the
// system DPI), then give the view each form with addForm() (before or after the
// form is loaded) and drive the forms: a form gets its window when it is loaded
// or first made visible, and shows when its visible property says so. The
// control trees must be complete by then.
//
//     view::win32::Win32View view;
//     view.setProgramIcon(::GetModuleHandleW(nullptr), kIconResource);
//     view::win32::Win32EventLoop loop([&view](MSG& m) { return view.navigate(m); });
//     ... build the forms and the services, then:
//     view.addForm(mainForm);                // before load(), so that the load
//     mainForm.load();                       // handler finds its window
//     mainForm.setVisible(true);
//     return loop.exec();
//
// Controls must outlive the view's use of them while its windows are in use:
// the view may be destroyed first (it destroys every window it built, and the
// controls' notifications to it then do nothing), or after the controls, as in
// tavren.exe, once no message is dispatched any more (its windows report
// nothing to them while they are destroyed).
class Win32View {
public:
    // Converts with the system DPI.
    Win32View();
    explicit Win32View(TwipsScale scale);
    ~Win32View();
    Win32View(const Win32View&) = delete;
    Win32View& operator=(const Win32View&) = delete;

    void addForm(controls::Form& form);

    // The icon every form's window shows in its caption and on the taskbar,
    // big and small: an icon resource of a module (the executable's own).
    // Without it, the system's generic application icon.
    void setProgramIcon(HMODULE module, int resourceId);

    // The keyboard's way through the controls of the view's windows, as in a
    // dialog: Tab and Shift+Tab move the focus in the controls' order, the
    // arrow keys within a group of options. The event loop gives it every
    // message before translating and dispatching it; true when it took the
    // message (and dispatched it itself).
    bool navigate(MSG& msg) const;

    // The form's top-level window (created when needed), 0 for a form the view
    // was not given.
    services::WindowHandle nativeWindowId(const controls::Form& form);

    // What shows a control, or nullptr while it has none: a form's top-level
    // window, a control's own window; for a menu item or a timer, its form's.
    HWND windowFor(const controls::Control& control) const;

    const TwipsScale& scale() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace tavren::view::win32
