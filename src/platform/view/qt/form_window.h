#pragma once

#include "child_views.h"
#include "view_context.h"

#include "platform/controls/control_view.h"
#include "platform/controls/controls.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QWindow>

#include <memory>
#include <vector>

namespace tavren::view::qt {

// The top-level window of a form with its menu bar, its timers and the widgets
// of its controls: a menu bar and, below it, the client area that holds the
// controls. Keeps the window and the form in step both ways: the form's outer
// rectangle maps to the window as controls::FormFrame describes, the user's moves,
// resizes, minimising and closing go back to the form.
class FormWindow : public QMainWindow, public controls::ControlView {
public:
    FormWindow(controls::Form& form, ViewContext context);

    controls::Form& form() const { return form_; }
    // Where the form's controls live: the whole area below the menu bar.
    QWidget* clientArea() const { return client_; }
    QMenuBar* menuBarIfAny() const;

protected:
    void apply(controls::Property property) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildChildren(controls::Control& container, QWidget* containerWidget);
    void addMenuItem(controls::MenuItem& item);
    void addTimer(controls::Timer& timer, QObject* owner);
    void applyGeometry();
    void resizeTo(const controls::Rect& outer);
    void placeFrameAt(QPoint framePos);
    void rememberRequestedPosition(QPoint framePos);
    bool isEchoOfRequestedPosition(QPoint framePos);
    void beginPlacement();
    void settlePlacement();
    void reportPosition(QPoint framePos);
    void applyVisible();
    void applyWindowState();
    void clientResized();
    int menuBarHeight(int width) const;

    controls::Form& form_;
    ViewContext context_;
    QWidget* client_;
    // Before the widgets (the window's children), which they go after.
    std::vector<std::unique_ptr<ChildView>> children_;
    // Client sizes this side asked the window system for and has not yet seen
    // confirmed. A report of one of them is the late echo of an earlier request,
    // not the user's resize, and must not override what the form holds now.
    std::vector<QSize> requestedSizes_;
    QSize requestedWindowSize_; // the whole window's size, for the form's latest size
    // The same for frame positions: a report of one of them is a late echo.
    std::vector<QPoint> requestedPositions_;
    // From showing until the window manager has framed the window and it sits
    // where the form says, moves are the window manager placing it, not the
    // user's; the form's place is asked for (a bounded number of times) once
    // the window is framed.
    bool placing_ = false;
    int placementRequests_ = 0;
    QPointer<QWindow> watchedNativeWindow_;
    // Reports of the window's own changes to the form in progress (moves,
    // resizes, state): a change of the form meanwhile is their echo, or a
    // handler's answer to them. Whether a geometry set during one waits to be
    // applied.
    controls::EchoGuard reporting_;
    bool geometryQueued_ = false;
};

} // namespace tavren::view::qt
