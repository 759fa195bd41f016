#pragma once

#include "twips_scale.h"

#include "platform/controls/controls.h"
#include "platform/services/window_manager.h"

#include <memory>

class QAction;
class QTimer;
class QWidget;

namespace tavren::view::qt {

// Shows forms of toolkit-neutral controls as Qt widgets: one widget per control,
// kept in step with it, with the user's input turned into the controls' events.
// The view holds no behaviour.
//
// Usage: construct it while a QApplication exists, give it each form with
// addForm() (before or after the form is loaded), then drive the forms: a form
// gets its window when it is loaded or first made visible, and shows when its
// visible property says so. The control trees must be complete by then.
//
//     QApplication app(argc, argv);
//     view::qt::QtView view;                       // after the QApplication
//     view::qt::QtEventLoop loop;
//     view::qt::QtScreens screens(view.scale());
//     ... build the forms and the services, then:
//     view.addForm(mainForm);                // before load(), so that the load
//     mainForm.load();                       // handler finds its window
//     mainForm.setVisible(true);
//     return loop.exec();
//
// Controls must outlive the view's use of them; the view may be destroyed first
// (it deletes every window it built, and the controls' notifications to it then
// do nothing).
class QtView {
public:
    // Converts with the primary screen's logical DPI.
    QtView();
    explicit QtView(TwipsScale scale);
    ~QtView();
    QtView(const QtView&) = delete;
    QtView& operator=(const QtView&) = delete;

    void addForm(controls::Form& form);

    // The X11 window id of the form's top-level window (creating the window and its
    // native handle when needed), 0 for a form the view was not given.
    services::WindowHandle nativeWindowId(const controls::Form& form);

    // What shows a control, or nothing while it has no widget: a form's top-level
    // window, a control's widget, a menu item's action, a timer's QTimer.
    QWidget* widgetFor(const controls::Control& control) const;
    QAction* actionFor(const controls::MenuItem& item) const;
    QTimer* timerFor(const controls::Timer& timer) const;
    // The area below the menu bar that holds a form's controls.
    QWidget* clientAreaOf(const controls::Form& form) const;

    const TwipsScale& scale() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace tavren::view::qt
