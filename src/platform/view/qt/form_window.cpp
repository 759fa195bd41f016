#include "form_window.h"

#include "form_font.h"
#include "form_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace tavren::view::qt {
namespace {

controls::WindowState toFormState(Qt::WindowStates states) {
    if (states & Qt::WindowMinimized) return controls::WindowState::Minimised;
    if (states & Qt::WindowMaximized) return controls::WindowState::Maximised;
    return controls::WindowState::Normal;
}

Qt::WindowStates toQtState(controls::WindowState state) {
    switch (state) {
    case controls::WindowState::Minimised:
        return Qt::WindowMinimized;
    case controls::WindowState::Maximised:
        return Qt::WindowMaximized;
    case controls::WindowState::Normal:
        break;
    }
    return Qt::WindowNoState;
}

// Requests that stay unconfirmed (the window system chose another size) are
// forgotten after a while rather than collected for ever.
constexpr std::size_t kMaxRequestedSizes = 8;
constexpr std::size_t kMaxRequestedPositions = 8;
// How often a window being placed is asked for its form's place before the
// window manager's own choice is accepted (and reported to the form).
constexpr int kMaxPlacementRequests = 3;

} // namespace

FormWindow::FormWindow(controls::Form& form, ViewContext context)
    : ControlView(form), form_(form), context_(context), client_(new QWidget(this)) {
    // Before any child exists: the menu bar and the controls inherit it.
    setFont(FormFont::ofSystem(context_.scale));
    setCentralWidget(client_);
    client_->installEventFilter(this);
    // The menu bar is there before the window takes the form's geometry, which
    // it takes its height from.
    const bool hasMenu =
        std::any_of(form.children().begin(), form.children().end(), [](const controls::Control* c) {
            return c->kind() == controls::Kind::MenuItem;
        });
    if (hasMenu) setMenuBar(new QMenuBar(this));
    context_.registry->add(form, this);
    buildChildren(form, client_);
}

QMenuBar* FormWindow::menuBarIfAny() const {
    return qobject_cast<QMenuBar*>(menuWidget());
}

void FormWindow::buildChildren(controls::Control& container, QWidget* containerWidget) {
    for (controls::Control* control : container.children()) {
        if (control->kind() == controls::Kind::MenuItem) {
            if (menuBarIfAny()) addMenuItem(static_cast<controls::MenuItem&>(*control));
            continue;
        }
        if (control->kind() == controls::Kind::Timer) {
            addTimer(static_cast<controls::Timer&>(*control), containerWidget);
            continue;
        }
        std::unique_ptr<ChildView> child = createChildView(*control, containerWidget, context_);
        if (!child) continue;
        if (control->kind() == controls::Kind::Frame) buildChildren(*control, child->widget());
        context_.registry->add(*control, child->widget());
        child->showAll();
        child->follow();
        children_.push_back(std::move(child));
    }
    context_.registry->restackChildren(container);
}

void FormWindow::addMenuItem(controls::MenuItem& item) {
    auto* action = menuBarIfAny()->addAction(QString::fromStdString(item.caption()));
    context_.registry->add(item, action);
    QObject::connect(action, &QAction::triggered, action, [&item] { item.click(); });
    QPointer<QAction> a = action;
    auto update = [&item, a](controls::Property p) {
        if (!a) return;
        if (p == controls::Property::Caption) a->setText(QString::fromStdString(item.caption()));
        if (p == controls::Property::Visible) a->setVisible(item.visible());
        if (p == controls::Property::Enabled) a->setEnabled(item.enabled());
    };
    for (controls::Property p : controls::showingOrder(item.kind()))
        update(p);
    item.changed.connect(std::move(update));
}

void FormWindow::addTimer(controls::Timer& timer, QObject* owner) {
    auto* qtimer = new QTimer(owner);
    context_.registry->add(timer, qtimer);
    QObject::connect(qtimer, &QTimer::timeout, qtimer, [&timer] { timer.tick(); });
    QPointer<QTimer> t = qtimer;
    auto update = [&timer, t](controls::Property p) {
        if (!t || (p != controls::Property::Value && p != controls::Property::Enabled)) return;
        // Setting the interval starts the count again, as it does on a running timer.
        if (timer.enabled() && timer.interval() > 0)
            t->start(timer.interval());
        else
            t->stop();
    };
    update(controls::Property::Value);
    timer.changed.connect(std::move(update));
}

void FormWindow::apply(controls::Property property) {
    switch (property) {
    case controls::Property::Caption:
        setWindowTitle(QString::fromStdString(form_.caption()));
        break;
    case controls::Property::Enabled:
        setEnabled(form_.enabled());
        break;
    case controls::Property::Geometry:
        applyGeometry();
        break;
    case controls::Property::Visible:
        applyVisible();
        break;
    case controls::Property::State:
        applyWindowState();
        break;
    case controls::Property::ZOrder:
        context_.registry->restackChildren(form_);
        break;
    default:
        break;
    }
}

int FormWindow::menuBarHeight(int width) const {
    const QMenuBar* bar = menuBarIfAny();
    if (!bar || bar->isHidden()) return 0;
    const int forWidth = bar->heightForWidth(width);
    return forWidth > 0 ? forWidth : bar->sizeHint().height();
}

void FormWindow::applyGeometry() {
    if (reporting_.active()) {
        // The form changed its geometry from inside the report of a move or
        // resize, while Qt is still laying the window out for the old size: a
        // resize now would be overridden by that layout. Apply the form's latest
        // geometry once the report is over.
        if (!geometryQueued_) {
            geometryQueued_ = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    geometryQueued_ = false;
                    applyGeometry();
                },
                Qt::QueuedConnection);
        }
        return;
    }
    const controls::Rect& outer = form_.geometry();
    resizeTo(outer);
    placeFrameAt(framePixels(outer, context_.scale));
}

void FormWindow::resizeTo(const controls::Rect& outer) {
    // A form that was never given a size keeps the toolkit's default.
    if (outer.width <= 0 || outer.height <= 0) return;
    const QSize client = clientPixels(outer, context_.scale);
    const QSize window(client.width(), client.height() + menuBarHeight(client.width()));
    requestedWindowSize_ = window;
    if (window == size()) return;
    requestedSizes_.push_back(client);
    if (requestedSizes_.size() > kMaxRequestedSizes) requestedSizes_.erase(requestedSizes_.begin());
    resize(window);
}

void FormWindow::placeFrameAt(QPoint framePos) {
    // Between showing and being framed, a request races with the window
    // manager placing the new window, which may read it as the client area's
    // place or override it. The form's latest place is asked for once the
    // window is framed (settlePlacement).
    if (placing_ && isVisible()) return;
    // A window never moved is put wherever the window manager places new
    // windows; the form's place is asked for even when it is the design's 0, 0.
    if (pos() != framePos || !testAttribute(Qt::WA_Moved)) {
        rememberRequestedPosition(framePos);
        move(framePos);
    }
    // Until the window manager has framed a native window (hidden, or shown a
    // moment ago), Qt does not know the frame's size and places the client area
    // where the frame was asked for: each restart would restore the window one
    // title bar lower than it was left. The native window is told that the point
    // is its frame's, which is what the form's left and top mean, and the window
    // manager puts the frame there. Once framed, the move above is right alone.
    QWindow* native = windowHandle();
    if (!native || !native->frameMargins().isNull()) return;
    // A hidden widget keeps its size to itself until shown; the native window
    // takes it now, or showing would set both again the client area's way.
    if (native->size() != size()) native->resize(size());
    native->setFramePosition(framePos);
}

void FormWindow::rememberRequestedPosition(QPoint framePos) {
    // A hidden window reports nothing back that could be taken for the user's.
    if (!isVisible()) return;
    requestedPositions_.push_back(framePos);
    if (requestedPositions_.size() > kMaxRequestedPositions)
        requestedPositions_.erase(requestedPositions_.begin());
}

bool FormWindow::isEchoOfRequestedPosition(QPoint framePos) {
    const auto echo = std::find(requestedPositions_.begin(), requestedPositions_.end(), framePos);
    if (echo == requestedPositions_.end()) return false;
    requestedPositions_.erase(requestedPositions_.begin(), echo + 1);
    return true;
}

void FormWindow::beginPlacement() {
    // The native window exists from here on: it is told the form's frame
    // position before it is mapped, and watched for the moment it is.
    winId();
    QWindow* native = windowHandle();
    if (watchedNativeWindow_ != native) {
        native->installEventFilter(this);
        watchedNativeWindow_ = native;
    }
    requestedPositions_.clear();
    placementRequests_ = 0;
    placeFrameAt(framePixels(form_.geometry(), context_.scale));
    placing_ = true;
}

void FormWindow::settlePlacement() {
    // Reports before the window is on the screen are the window manager
    // framing and placing it.
    QWindow* native = windowHandle();
    if (!native || !native->isExposed()) return;
    const QPoint wanted = framePixels(form_.geometry(), context_.scale);
    native->frameMargins(); // the frame as it is now, not as first seen
    const QPoint framePos = native->framePosition();
    if (framePos == wanted) {
        placing_ = false;
        return;
    }
    if (placementRequests_ == kMaxPlacementRequests) {
        // The window manager insists on its own place: the form learns it.
        placing_ = false;
        reportPosition(framePos);
        return;
    }
    // The window manager chose the place, or a place asked for before the
    // window was framed came back in the client area's terms. Framed now, the
    // window takes the form's place, and stays in placement until it is there.
    ++placementRequests_;
    native->setFramePosition(wanted);
}

void FormWindow::applyVisible() {
    if (!form_.visible()) {
        hide();
        return;
    }
    switch (form_.windowState()) {
    case controls::WindowState::Minimised:
        showMinimized();
        break;
    case controls::WindowState::Maximised:
        showMaximized();
        break;
    case controls::WindowState::Normal:
        if (!isVisible()) beginPlacement();
        show();
        break;
    }
}

void FormWindow::applyWindowState() {
    const Qt::WindowStates wanted = toQtState(form_.windowState());
    const Qt::WindowStates current = windowState() & (Qt::WindowMinimized | Qt::WindowMaximized);
    if (wanted == current) return;
    setWindowState((windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)) | wanted);
}

void FormWindow::clientResized() {
    // While minimised the window keeps its size; what counts is the size it
    // comes back with.
    if (isMinimized()) return;
    const QSize actual = client_->size();
    const QSize expected = clientPixels(form_.geometry(), context_.scale);
    if (actual == expected) {
        requestedSizes_.clear();
        return;
    }
    const auto echo = std::find(requestedSizes_.begin(), requestedSizes_.end(), actual);
    if (echo != requestedSizes_.end()) {
        requestedSizes_.erase(requestedSizes_.begin(), echo + 1);
        return;
    }
    // Only a window on the screen is resized by the user, and only as a whole. A
    // client area that changed otherwise (before showing, while the window is
    // being framed and placed, or as the menu bar settles its height inside a
    // window still of the size we asked for) follows the form, never the
    // reverse: reported, such a passing size would shrink the form, down to its
    // minimum.
    if (!isVisible() || placing_ || size() == requestedWindowSize_) {
        applyGeometry();
        return;
    }
    // The user (or the window manager) resized the window. The form raises its
    // resize event from inside setGeometry; a size its handler sets there comes
    // back through apply() and is asked for right after this report.
    controls::Rect outer = form_.geometry();
    outer.width = controls::FormFrame::outerWidth(actual.width(), context_.scale);
    outer.height = controls::FormFrame::outerHeight(actual.height(), context_.scale);
    const controls::EchoGuard::Hold report(reporting_);
    form_.setGeometry(outer);
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) clientResized();
    // The first exposure after showing: the window manager has framed the
    // window and mapped it where it chose.
    if (placing_ && event->type() == QEvent::Expose && watched == windowHandle()) settlePlacement();
    return QMainWindow::eventFilter(watched, event);
}

void FormWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (!isVisible() || isMinimized()) return;
    // The window manager placing the window it shows, not the user.
    if (placing_) {
        settlePlacement();
        return;
    }
    const QPoint framePos = pos();
    if (framePos == framePixels(form_.geometry(), context_.scale)) {
        requestedPositions_.clear();
        return;
    }
    // A place asked for before the form's latest, reported late.
    if (isEchoOfRequestedPosition(framePos)) return;
    reportPosition(framePos);
}

void FormWindow::reportPosition(QPoint framePos) {
    controls::Rect outer = form_.geometry();
    outer.left = context_.scale.toTwipsX(framePos.x());
    outer.top = context_.scale.toTwipsY(framePos.y());
    const controls::EchoGuard::Hold report(reporting_);
    form_.setGeometry(outer);
}

void FormWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    const controls::EchoGuard::Hold report(reporting_);
    form_.setWindowState(toFormState(windowState()));
}

void FormWindow::closeEvent(QCloseEvent* event) {
    if (!form_.requestClose()) {
        event->ignore();
        return;
    }
    event->accept();
    form_.setVisible(false);
}

} // namespace tavren::view::qt
