#pragma once

#include "control.h"

namespace tavren::controls {

enum class WindowState { Normal = 0, Minimised = 1, Maximised = 2 };

// A top-level window. Its geometry is the outer frame in screen twips; a change of
// its size (by the user or by code) raises resized, nested inside the change.
class Form : public Control {
public:
    Form(std::string name, std::string caption)
        : Control(Kind::Form, std::move(name), nullptr), caption_(std::move(caption)) {
        setVisible(false);
    }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string c) {
        if (c == caption_) return;
        caption_ = std::move(c);
        notify(Property::Caption);
    }

    WindowState windowState() const { return state_; }
    void setWindowState(WindowState s) {
        if (s == state_) return;
        state_ = s;
        notify(Property::State);
        resized.raise();
    }

    // Creates the window once: the first call raises loaded, later calls do nothing.
    void load() {
        if (loaded_) return;
        loaded_ = true;
        notify(Property::State);
        loaded.raise();
    }
    bool isLoaded() const { return loaded_; }

    // A close request (close box, window manager). Returns true when the form
    // allowed it; a handler refuses by setting its argument to true.
    bool requestClose() {
        bool cancel = false;
        unloading.raise(cancel);
        return !cancel;
    }

    Signal<> loaded;
    Signal<bool&> unloading; // cancel
    Signal<> resized;

protected:
    void geometryChanged() override {
        const Rect& g = geometry();
        if (g.width != lastWidth_ || g.height != lastHeight_) {
            lastWidth_ = g.width;
            lastHeight_ = g.height;
            resized.raise();
        }
    }

private:
    std::string caption_;
    WindowState state_ = WindowState::Normal;
    bool loaded_ = false;
    double lastWidth_ = 0;
    double lastHeight_ = 0;
};

} // namespace tavren::controls
