#pragma once

#include "twips_scale.h"

#include "platform/controls/form.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QWindow>

#include <vector>

namespace tavren::view::qt {

// The top-level window of a form: a menu bar and, below it, the client area that
// holds the form's controls. Keeps the window and the form in step both ways:
// the form's outer rectangle maps to the window as FormFrame describes, the
// user's moves, resizes, minimising and closing go back to the form.
class FormWindow : public QMainWindow {
public:
    // The menu bar, when asked for, is there from the start so that the form's
    // menu items can be added to it before the window takes the form's geometry.
    FormWindow(controls::Form& form, TwipsScale scale, bool withMenuBar);

    controls::Form& form() const { return form_; }
    // Where the form's controls live: the whole area below the menu bar.
    QWidget* clientArea() const { return client_; }
    QMenuBar* menuBarIfAny() const;

    // Takes every property of the form: once, after the controls are built.
    void applyAll();

    // Shows one property of the form on the window.
    void apply(controls::Property property);

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
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
    TwipsScale scale_;
    QWidget* client_;
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
    // resizes, state), and whether a geometry set during one waits to be applied.
    int reportingToForm_ = 0;
    bool geometryQueued_ = false;
};

} // namespace tavren::view::qt
