#pragma once

#include "control.h"

namespace tavren::controls {

// One of a group of mutually exclusive options; the group is every option button
// with the same parent. Selecting one that is not selected clears its siblings and
// raises clicked on it. A user's click raises clicked whether or not the option
// was selected: the shown option may no longer say what its handler last stored
// (a count set without an option of its own), and clicking it is how the user
// puts that right.
class OptionButton : public Control {
public:
    OptionButton(std::string name, Control* parent, std::string caption, int index = -1)
        : Control(Kind::OptionButton, std::move(name), parent, index),
          caption_(std::move(caption)) {}

    const std::string& caption() const { return caption_; }
    bool value() const { return value_; }
    void select();
    void clear();
    // A user's click: selects this option, and raises clicked once either way.
    void clickByUser();

    Signal<> clicked;

private:
    std::string caption_;
    bool value_ = false;
};

} // namespace tavren::controls
