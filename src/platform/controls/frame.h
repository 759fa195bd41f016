#pragma once

#include "control.h"

namespace tavren::controls {

// A caption-less container. Its children are positioned relative to it and
// stacked by bringToFront().
class Frame : public Control {
public:
    Frame(std::string name, Control* parent, int index = -1)
        : Control(Kind::Frame, std::move(name), parent, index) {}
};

} // namespace tavren::controls
