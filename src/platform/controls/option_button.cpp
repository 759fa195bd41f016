#include "option_button.h"

namespace tavren::controls {

void OptionButton::select() {
    if (value_) return;
    if (parent()) {
        for (Control* sibling : parent()->children()) {
            if (sibling != this && sibling->kind() == Kind::OptionButton)
                static_cast<OptionButton*>(sibling)->clear();
        }
    }
    value_ = true;
    notify(Property::Value);
    clicked.raise();
}

void OptionButton::clickByUser() {
    if (!value_) {
        select();
        return;
    }
    clicked.raise();
}

void OptionButton::clear() {
    if (!value_) return;
    value_ = false;
    notify(Property::Value);
}

} // namespace tavren::controls
