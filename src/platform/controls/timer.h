#pragma once

#include "control.h"

namespace tavren::controls {

// A periodic timer: interval in milliseconds, 0 = stopped. Whoever drives it (the
// view's event loop, or a test) calls tick().
class Timer : public Control {
public:
    Timer(std::string name, Control* parent) : Control(Kind::Timer, std::move(name), parent) {
        setVisible(false);
    }

    int interval() const { return interval_; }
    void setInterval(int ms) {
        if (ms == interval_) return;
        interval_ = ms;
        notify(Property::Value);
    }
    void tick() { ticked.raise(); }

    Signal<> ticked;

private:
    int interval_ = 0;
};

} // namespace tavren::controls
