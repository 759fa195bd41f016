#pragma once

#include "control.h"

namespace tavren::controls {

// A single-line text field. A change of the text raises textChanged; a key pressed
// in the field raises keyDown before the field edits its text.
class TextField : public Control {
public:
    TextField(std::string name, Control* parent, std::string text = {})
        : Control(Kind::TextField, std::move(name), parent), text_(std::move(text)) {}

    const std::string& text() const { return text_; }
    void setText(std::string t) {
        if (t == text_) return;
        text_ = std::move(t);
        notify(Property::Text);
        textChanged.raise();
    }
    void pressKey(int keyCode, int shift) { keyDown.raise(keyCode, shift); }

    Signal<> textChanged;
    Signal<int, int> keyDown; // key code, shift state

private:
    std::string text_;
};

} // namespace tavren::controls
