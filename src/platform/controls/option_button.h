#pragma once

#include "control.h"

namespace tavren::controls {

// One of a group of mutually exclusive options; the group is every option button
// with the same parent. Selecting one that is not selected clears its siblings and
// raises clicked on it.
class OptionButton : public Control {
public:
    OptionButton(std::string name, Control* parent, std::string caption, int index = -1)
        : Control(Kind::OptionButton, std::move(name), parent, index),
          caption_(std::move(caption)) {}

    const std::string& caption() const { return caption_; }
    bool value() const { return value_; }
    void select();
    void clear();

    Signal<> clicked;

private:
    std::string caption_;
    bool value_ = false;
};

} // namespace tavren::controls
