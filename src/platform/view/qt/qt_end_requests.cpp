#include "qt_end_requests.h"

#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

namespace tavren::view::qt {

QtEndRequests::QtEndRequests(const services::EventLoop& loop, int signalled,
                             std::function<void()> end)
    : loop_(loop), end_(std::move(end)),
      signalled_(new QSocketNotifier(signalled, QSocketNotifier::Read, this)) {
    connect(signalled_, &QSocketNotifier::activated, this, [this] {
        // One end is enough: later signals need not be read or acted upon.
        signalled_->setEnabled(false);
        requestEnd();
    });
    // Nothing of Tavren's needs the user's word before the session ends: its
    // data is its settings, and committing them is the shut-down.
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { requestEnd(); });
    connect(qGuiApp, &QCoreApplication::aboutToQuit, this, [this] { requestEnd(); });
    qGuiApp->installEventFilter(this);
}

bool QtEndRequests::eventFilter(QObject* watched, QEvent* event) {
    if (watched != qGuiApp || event->type() != QEvent::Quit || loop_.ending()) return false;
    requestEnd();
    return true;
}

void QtEndRequests::requestEnd() {
    if (!loop_.ending()) end_();
}

} // namespace tavren::view::qt
