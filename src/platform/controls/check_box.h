#pragma once

#include "control.h"

namespace tavren::controls {

// A check box with the states 0 (unchecked), 1 (checked) and 2 (indeterminate).
// Any change of the state, by the user or by code, raises clicked; setting the
// state it already has raises nothing.
class CheckBox : public Control {
public:
    CheckBox(std::string name, Control* parent, std::string caption, int value = 0)
        : Control(Kind::CheckBox, std::move(name), parent), caption_(std::move(caption)),
          value_(value) {}

    const std::string& caption() const { return caption_; }
    int value() const { return value_; }
    void setValue(int v) {
        if (v == value_) return;
        value_ = v;
        notify(Property::Value);
        clicked.raise();
    }
    // A user's click: unchecked becomes checked, anything else unchecked.
    void toggleByUser() { setValue(value_ == 0 ? 1 : 0); }

    Signal<> clicked;

private:
    std::string caption_;
    int value_;
};

} // namespace tavren::controls
