#pragma once

#include "child_views.h"
#include "view_context.h"

#include "platform/controls/control_view.h"
#include "platform/controls/controls.h"

#include <memory>
#include <vector>

#include <windows.h>

namespace tavren::view::win32 {

// The top-level window of a form with its menu bar, its timers and the windows
// of its controls. Keeps the window and the form in step both ways: the form's
// outer rectangle maps to the window as controls::FormFrame describes, and the user's
// moves, resizes, maximising, minimising and closing go back to the form.
class FormWindow : public controls::ControlView {
public:
    FormWindow(controls::Form& form, ViewContext context);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND hwnd() const { return window_; }
    controls::Form& form() const { return form_; }

    // The icons of the caption and the taskbar (owned by the caller, which
    // keeps them while the window lives).
    void setIcons(HICON big, HICON small);

protected:
    void apply(controls::Property property) override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void buildChildren(controls::Control& container, HWND parent);
    void restackLater(const controls::Control& container);
    void restackPending();
    void addMenuItem(controls::MenuItem& item);
    void addTimer(controls::Timer& timer);
    void rebuildMenu();
    void applyTimer(std::size_t slot);
    void applyGeometry();
    void applyVisible();
    void applyWindowState();
    bool showsGeometry() const;
    void reportGeometry();
    void reportWindowState(WPARAM sizeType);

    controls::Form& form_;
    ViewContext context_;
    HWND window_ = nullptr;
    HMENU menu_ = nullptr;
    std::vector<std::unique_ptr<ChildView>> children_;
    std::vector<controls::MenuItem*> menuItems_;
    std::vector<controls::Timer*> timers_;
    // The liveness of this window for the controls' notifications, which may
    // outlive it.
    std::shared_ptr<FormWindow*> alive_;
    // Set while the window is destroyed: it reports nothing to the form.
    bool closing_ = false;
    // Containers whose children moved, showed or hid since the last restack.
    std::vector<const controls::Control*> pendingRestacks_;
    bool restackPosted_ = false;
};

} // namespace tavren::view::win32
