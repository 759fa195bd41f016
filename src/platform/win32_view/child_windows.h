#pragma once

#include "view_context.h"

#include "platform/controls/controls.h"

#include <memory>

#include <windows.h>

namespace tavren::win32 {

// The window of one child control (frame, label, button, check box, option
// button, text field, drop-down), kept in step with its control. The parent
// window hands it the notifications and drawing requests that concern it.
class ChildWindow {
public:
    ChildWindow(controls::Control& control, HWND window, ViewContext context);
    virtual ~ChildWindow() = default;
    ChildWindow(const ChildWindow&) = delete;
    ChildWindow& operator=(const ChildWindow&) = delete;

    HWND hwnd() const { return window_; }
    controls::Control& control() const { return control_; }

    // Takes every property of the control, visibility last so that a window is
    // never shown before it has its content.
    void applyAll();
    virtual void apply(controls::Property property);
    // A notification code of WM_COMMAND from this window.
    virtual void command(WORD /*code*/) {}
    // WM_DRAWITEM for an owner-drawn window; false when it draws itself.
    virtual bool draw(const DRAWITEMSTRUCT& /*item*/) { return false; }
    // WM_CTLCOLOR*: the brush to paint with after setting the colours on `dc`.
    virtual HBRUSH colours(HDC dc);

    // The child window object behind a window of the view, or nullptr.
    static ChildWindow* of(HWND window);

protected:
    // Sets the window's text when it differs; the notifications that raises are
    // not the user's.
    void showText(const std::string& utf8);
    std::string windowText() const;
    virtual void applyGeometry();

    ViewContext context_;
    // Set while the view itself changes the window: its notifications are echoes.
    bool applying_ = false;

private:
    controls::Control& control_;
    HWND window_;
};

// Creates the window of a child control inside `parent` (not yet showing its
// properties: see applyAll), or nothing for a control that has no window of
// its own (menu items, timers).
std::shared_ptr<ChildWindow> createChildWindow(controls::Control& control, HWND parent,
                                               const ViewContext& context);

// The window class of frames; its window procedure passes the children's
// notifications on to them, as a form's does.
const wchar_t* frameWindowClass();
// Handles a message a container (form or frame) receives for one of its
// children; false when it is not one.
bool handleChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

} // namespace tavren::win32
