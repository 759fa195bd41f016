#pragma once

#include "colour.h"
#include "control.h"

namespace tavren::controls {

class Label : public Control {
public:
    Label(std::string name, Control* parent, std::string caption, int index = -1)
        : Control(Kind::Label, std::move(name), parent, index), caption_(std::move(caption)) {}

    const std::string& caption() const { return caption_; }
    void setCaption(std::string c) {
        if (c == caption_) return;
        caption_ = std::move(c);
        notify(Property::Caption);
    }
    Colour foreColour() const { return foreColour_; }
    void setForeColour(Colour c) {
        if (c == foreColour_) return;
        foreColour_ = c;
        notify(Property::Colour);
    }

private:
    std::string caption_;
    Colour foreColour_ = kWindowText;
};

} // namespace tavren::controls
