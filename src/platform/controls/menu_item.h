#pragma once

#include "control.h"

namespace tavren::controls {

// A top-level menu bar entry without a submenu.
class MenuItem : public Control {
public:
    MenuItem(std::string name, Control* parent, std::string caption, int index = -1)
        : Control(Kind::MenuItem, std::move(name), parent, index), caption_(std::move(caption)) {}

    const std::string& caption() const { return caption_; }
    void setCaption(std::string c) {
        if (c == caption_) return;
        caption_ = std::move(c);
        notify(Property::Caption);
    }
    void click() { clicked.raise(); }

    Signal<> clicked;

private:
    std::string caption_;
};

} // namespace tavren::controls
