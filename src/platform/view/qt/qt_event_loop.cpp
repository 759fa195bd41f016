#include "qt_event_loop.h"

#include <QApplication>
#include <QWidget>

namespace tavren::view::qt {

void QtEventLoop::processPendingEvents() {
    if (quitRequested_) return;
    QCoreApplication::processEvents();
}

void QtEventLoop::quit() {
    if (quitRequested_) return;
    quitRequested_ = true;
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    // Ends every running loop, nested ones (a modal dialog) included; a quit before
    // exec() is remembered by exec() itself, as Qt would forget it.
    QCoreApplication::exit(0);
}

int QtEventLoop::exec() {
    if (quitRequested_) return 0;
    return QApplication::exec();
}

} // namespace tavren::view::qt
