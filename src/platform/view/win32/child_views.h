#pragma once

#include "view_context.h"
#include "wrapped_caption.h"

#include "platform/controls/control_view.h"
#include "platform/controls/controls.h"

#include <memory>
#include <string>

#include <windows.h>

namespace tavren::view::win32 {

// The window of one child control (frame, label, button, check box, option
// button, text field, drop-down), kept in step with its control. The properties
// every control has are put on the window here; the class of each kind puts
// its own and turns the user's input on the window into the control's events.
// The parent window hands it the notifications and drawing requests that
// concern it.
class ChildView : public controls::ControlView {
public:
    ChildView(controls::Control& control, HWND window, ViewContext context);

    HWND hwnd() const { return window_; }

    // A notification code of WM_COMMAND from this window.
    virtual void command(WORD /*code*/) {}
    // WM_DRAWITEM for an owner-drawn window; false when it draws itself.
    virtual bool draw(const DRAWITEMSTRUCT& /*item*/) { return false; }
    // WM_CTLCOLOR*: the brush to paint with after setting the colours on `dc`.
    virtual HBRUSH colours(HDC dc);

    // The child view behind a window of the view, or nullptr.
    static ChildView* of(HWND window);

protected:
    void apply(controls::Property property) override;
    // Sets the window's text when it differs.
    void showText(const std::string& utf8);
    std::string windowText() const;
    virtual void applyGeometry();
    // The caption the window shows, or nullptr for one without.
    virtual const std::string* caption() const { return nullptr; }
    // Whether the window draws its caption itself (owner-drawn), rather than
    // leaving it to the native control with the lines broken in its text.
    virtual bool drawsCaption() const { return false; }
    // The part of the client area the caption is drawn in.
    virtual RECT captionArea(const RECT& client) const { return client; }
    // Puts the caption into `room`, the part of its caption area `area` that no
    // sibling above hides; `placed` is the window's designed rectangle (all in
    // the parent's pixels).
    virtual void placeCaption(const RECT& room, const RECT& area, const RECT& placed);
    // Gives the window its caption's text: the lines of the caption fitted to
    // its room, a line break between two, for a native control; the caption as
    // it is for a window that draws its own.
    void showCaptionText();
    // The caption as fitted to the window, or nullptr before it is fitted.
    const WrappedCaption* wrappedCaption() const { return wrapped_.get(); }

    ViewContext context_;

private:
    // Fits the caption to the room its caption area leaves, by the rule every
    // view shares, and gives the window the font of the size it fits at.
    void fitCaption();
    void clearLabelsBeneath();

    HWND window_;
    std::unique_ptr<WrappedCaption> wrapped_;
};

// Where a control of this kind draws its caption inside `client`: beside the
// box or circle of a check box or option button, inside a push button's edge.
RECT captionAreaOf(controls::Kind kind, const RECT& client);

// Creates the window of a child control inside `parent` (not yet showing its
// properties: see showAll), or nothing for a control that has no window of its
// own (forms, menu items, timers).
std::unique_ptr<ChildView> createChildView(controls::Control& control, HWND parent,
                                           const ViewContext& context);

// The window class of frames; its window procedure passes the children's
// notifications on to them, as a form's does.
const wchar_t* frameWindowClass();
// Handles a message a container (form or frame) receives for one of its
// children; false when it is not one.
bool handleChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

} // namespace tavren::view::win32
