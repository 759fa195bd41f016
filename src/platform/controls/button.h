#pragma once

#include "colour.h"
#include "control.h"
#include "mouse.h"

namespace tavren::controls {

// A push button. Handlers listen to mouseDown (any mouse button, at the press)
// or click (a completed left click).
class Button : public Control {
public:
    Button(std::string name, Control* parent, std::string caption, int index = -1)
        : Control(Kind::Button, std::move(name), parent, index), caption_(std::move(caption)) {}

    const std::string& caption() const { return caption_; }
    void setCaption(std::string c) {
        if (c == caption_) return;
        caption_ = std::move(c);
        notify(Property::Caption);
    }
    Colour backColour() const { return backColour_; }
    void setBackColour(Colour c) {
        if (c == backColour_) return;
        backColour_ = c;
        notify(Property::Colour);
    }

    // User input, as a view or a test reports it.
    void pressMouse(const MouseEvent& e) { mouseDown.raise(e); }
    void releaseMouse(const MouseEvent& e) { mouseUp.raise(e); }
    void click() { clicked.raise(); }

    Signal<const MouseEvent&> mouseDown;
    Signal<const MouseEvent&> mouseUp;
    Signal<> clicked;

private:
    std::string caption_;
    Colour backColour_ = kButtonFace;
};

} // namespace tavren::controls
