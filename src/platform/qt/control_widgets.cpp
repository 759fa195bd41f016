#include "control_widgets.h"

#include "vb_key_codes.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace tavren::qt {

MouseForwarder::MouseForwarder(controls::Button& button, TwipsScale scale, QObject* parent)
    : QObject(parent), button_(button), scale_(scale) {}

bool MouseForwarder::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // The second press of a double click arrives as a double-click event: it is
    // a press all the same.
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (!press && type != QEvent::MouseButtonRelease) return QObject::eventFilter(watched, event);

    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int button = vbMouseButton(mouse->button());
    if (button == 0) return QObject::eventFilter(watched, event);
    const QPointF at = mouse->position();
    const controls::MouseEvent report{button, vbShiftState(mouse->modifiers()),
                                      at.x() * scale_.perPixelX, at.y() * scale_.perPixelY};
    if (press)
        button_.pressMouse(report);
    else
        button_.releaseMouse(report);
    // The push button handles the left button (pressed look, click); other
    // buttons stop here so that they do not reach the panel behind.
    return button != controls::kLeftButton;
}

KeyForwarder::KeyForwarder(controls::TextField& field, QObject* parent)
    : QObject(parent), field_(field) {}

bool KeyForwarder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (const int code = vbKeyCode(key->key(), key->modifiers()))
            field_.pressKey(code, vbShiftState(key->modifiers()));
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tavren::qt
